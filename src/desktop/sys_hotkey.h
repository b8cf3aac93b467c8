#pragma once
// A list of system-wide hotkeys. An entry's position is its hotkey id, so ids stay dense:
// deleting an entry while active re-registers the rest under their new positions.
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "desktop/hotkey_text.h"

namespace vimbrel {

struct THotKeyEntry {
    THotKeyModifiers Modifiers = 0;
    THotKeyKey Key = 0;
    bool Registered = false;
};
static_assert(sizeof(THotKeyEntry) == 3);

// Registers hotkeys with the system for one receiver, which reports pressed ids back to
// TSysHotKey::HotKeyPressed.
class HotKeyRegistrar {
public:
    virtual ~HotKeyRegistrar() = default;
    // modifierFlags as HotKeyModifierFlags gives them. True when the system accepted it.
    virtual bool RegisterHotKey(int id, unsigned modifierFlags, unsigned virtualKey) = 0;
    virtual void UnregisterHotKey(int id) = 0;
};

class TSysHotKey {
public:
    using THotKeyEvent = std::function<void(TSysHotKey& sender, int index)>;

    explicit TSysHotKey(HotKeyRegistrar& registrar) : registrar_(registrar) {}
    ~TSysHotKey();
    TSysHotKey(const TSysHotKey&) = delete;
    TSysHotKey& operator=(const TSysHotKey&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool active);

    THotKeyEntry AddHotKey(THotKeyKey key, THotKeyModifiers modifiers);
    // Out-of-range indexes are ignored.
    void DeleteHotKey(int index);
    void ClearHotKeys();

    std::size_t Count() const { return entries_.size(); }
    const THotKeyEntry& Entry(std::size_t index) const { return entries_.at(index); }

    THotKeyEvent OnHotKey;
    // Switching on again left these entries unheld, in entry order: another program took the
    // combination while the list was off, or an entry added meanwhile was refused. A
    // combination that was already refused when the list went off is not named again.
    std::function<void(TSysHotKey& sender, const std::vector<std::size_t>& indexes)> OnRefused;

    // The receiver got a pressed hotkey (the low 16 bits of the id it was registered with).
    void HotKeyPressed(unsigned id);
    // The receiver is going away: nothing can stay registered with it.
    void ReceiverDestroyed() { SetActive(false); }

private:
    void RegisterEntry(std::size_t i);
    void UnregisterEntry(std::size_t i);
    void RegisterAll();
    void UnregisterAll();
    using Combination = std::pair<THotKeyModifiers, THotKeyKey>;
    std::vector<Combination> RefusedCombinations() const;
    void ReportNewRefusals();

    HotKeyRegistrar& registrar_;
    bool active_ = false;
    std::vector<THotKeyEntry> entries_;
    std::vector<Combination> refusedWhenOff_;
};

// Switches the hotkeys off for a piece of modal work and back to how they were at its end,
// however it ends.
class HotKeysOff {
public:
    explicit HotKeysOff(TSysHotKey& hotKeys) : hotKeys_(hotKeys), wasActive_(hotKeys.Active()) {
        hotKeys_.SetActive(false);
    }
    ~HotKeysOff() { hotKeys_.SetActive(wasActive_); }
    HotKeysOff(const HotKeysOff&) = delete;
    HotKeysOff& operator=(const HotKeysOff&) = delete;

private:
    TSysHotKey& hotKeys_;
    bool wasActive_;
};

}  // namespace vimbrel
