#pragma once
// The three capture hotkeys as the main window holds them in shk1 (entry 0 the full screen,
// 1 the active window, 2 an area), and the one rule for a combination the system refused:
// the user is told which, by its shown name, so nobody trusts a key that does nothing.
#include <string>
#include <vector>

#include "settings/option_flags.h"
#include "desktop/sys_hotkey.h"

namespace vimbrel {

// Adds the entries from "HotKeyFull", "HotKeyActive" and "HotKeyArea", in that order.
void RegisterCaptureHotKeys(TSysHotKey& hotKeys, const OptionFlags& flags);
// Deletes entries 2, 1 and 0.
void UnregisterCaptureHotKeys(TSysHotKey& hotKeys);

// The shown names ('Alt, PrintScreen') of the capture hotkeys that are switched on but not
// held, in entry order; empty while the hotkeys are off or all three are held.
std::vector<std::string> RefusedCaptureHotKeys(const TSysHotKey& hotKeys, const OptionFlags& flags);

// A short notice to the user that needs no answer.
class UserNotice {
public:
    virtual ~UserNotice() = default;
    virtual void Notify(const std::string& title, const std::string& text) = 0;
};

inline constexpr const char* kRefusedHotKeyTitle = "Capture hotkey not available";
// The notice for these shown names.
std::string RefusedHotKeysText(const std::vector<std::string>& names);

// Tells the user once about every refused capture hotkey; says nothing when all are held.
void ReportRefusedCaptureHotKeys(const TSysHotKey& hotKeys, const OptionFlags& flags, UserNotice& notice);

// From now on, whenever the hotkeys are switched on again after modal work (a capture, a
// dialog, printing), tells the user about the capture hotkeys that are newly refused: one
// another program took meanwhile, or one just chosen in the settings. The user is not told
// twice about a key that stays refused.
void WatchCaptureHotKeys(TSysHotKey& hotKeys, const OptionFlags& flags, UserNotice& notice);

}  // namespace vimbrel
