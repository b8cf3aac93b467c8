#pragma once
// What the settings logic needs from the platform. Implemented by the Windows adapters
// and by fakes in tests.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "util/file_system_port.h"

namespace vimbrel {

// String values by name in the program's registry key. A missing value, or one that is
// not a string, reads as the empty text. Writes throw ERegistryException on failure.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string Read(const std::string& name) = 0;
    virtual void Write(const std::string& name, const std::string& value) = 0;
};

// The read-only override file: a missing or unreadable key reads as empty.
class OverrideFile {
public:
    virtual ~OverrideFile() = default;
    virtual std::string Read(const std::string& section, const std::string& key) = 0;
};

enum class PrinterOrientation { Portrait, Landscape };

class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    // Installed printers in the order the system lists them.
    virtual std::vector<std::string> PrinterNames() = 0;
    // The selected printer's current orientation; nothing when the printer cannot answer.
    virtual std::optional<PrinterOrientation> QueryOrientation() = 0;
    virtual void SelectPrinter(const std::string& name) = 0;
    virtual void SetOrientation(PrinterOrientation orientation) = 0;
};

// Questions to the system that the settings depend on.
class SystemQueries {
public:
    virtual ~SystemQueries() = default;
    virtual std::string WindowsFolder() = 0;
    // The program path registered for Outlook (HKLM App Paths), empty when none.
    // May throw ERegistryException when the value is not a string.
    virtual std::string OutlookAppPath() = 0;
};

// The program's own value under the user's Run key, which starts it (hidden in the tray, as
// any start without arguments) when the user logs on to Windows. Writes throw
// ERegistryException on failure.
class StartupEntry {
public:
    virtual ~StartupEntry() = default;
    virtual bool Registered() = 0;
    // On: the value names this program; off: the value is removed.
    virtual void Set(bool on) = 0;
};

// The main window's side of loading: the capture-mode commands, the status and tray
// indicators and the font for text printing.
class SettingsView {
public:
    virtual ~SettingsView() = default;
    // Runs mnuSetAreaClick (area) or mnuSetScreenClick.
    virtual void SetCaptureMode(bool area) = 0;
    // Auto print or auto save changed: refresh the indicators and the tray hint.
    virtual void OptionIndicatorsChanged() = 0;
    // PrintTextFont: a copy of the window's font with this face name.
    virtual void CreatePrintTextFont(const std::string& faceName) = 0;
};

}  // namespace vimbrel
