#pragma once
// The printer the program prints on: chosen among the installed printers (the system's
// default at start), with the device settings that carry its orientation.
#include <windows.h>

#include <string>
#include <vector>

#include "settings/settings_ports.h"

namespace vimbrel::win32 {

class WinPrinters : public PrinterPort {
public:
    WinPrinters();

    std::vector<std::string> PrinterNames() override;
    std::optional<PrinterOrientation> QueryOrientation() override;
    void SelectPrinter(const std::string& name) override;
    void SetOrientation(PrinterOrientation orientation) override;

    const std::string& SelectedPrinter() const { return selected_; }
    // The printer and device settings the user chose in the printer-setup dialog.
    void AdoptSetup(const std::string& name, std::vector<char> deviceMode);
    // The selected printer's device settings (DEVMODEA), empty until they were read.
    const std::vector<char>& DeviceMode() const { return devMode_; }

private:
    bool LoadDeviceMode();

    std::string selected_;
    std::vector<char> devMode_;
};

}  // namespace vimbrel::win32
