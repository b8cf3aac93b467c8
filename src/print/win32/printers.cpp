#include "print/win32/printers.h"

#include <winspool.h>

#include "util/win32/handles.h"

namespace vimbrel::win32 {

namespace {

struct PrinterHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::ClosePrinter(h); }
};
using UniquePrinter = UniqueHandleT<HANDLE, PrinterHandleTraits>;

std::string DefaultPrinterName() {
    DWORD size = 0;
    ::GetDefaultPrinterA(nullptr, &size);
    if (size == 0)
        return {};
    std::string name(size, '\0');
    if (!::GetDefaultPrinterA(name.data(), &size))
        return {};
    name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
    return name;
}

}  // namespace

WinPrinters::WinPrinters() : selected_(DefaultPrinterName()) {}

std::vector<std::string> WinPrinters::PrinterNames() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0)
        return {};
    std::vector<BYTE> buffer(needed);
    if (!::EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count))
        return {};
    std::vector<std::string> names;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (info[i].pPrinterName)
            names.emplace_back(info[i].pPrinterName);
    if (selected_.empty() && !names.empty())
        selected_ = names.front();
    return names;
}

bool WinPrinters::LoadDeviceMode() {
    if (selected_.empty())
        return false;
    UniquePrinter printer;
    if (!::OpenPrinterA(const_cast<char*>(selected_.c_str()), printer.put(), nullptr))
        return false;
    char* name = const_cast<char*>(selected_.c_str());
    LONG size = ::DocumentPropertiesA(nullptr, printer.get(), name, nullptr, nullptr, 0);
    if (size < static_cast<LONG>(sizeof(DEVMODEA)))
        return false;
    std::vector<char> mode(static_cast<std::size_t>(size));
    if (::DocumentPropertiesA(nullptr, printer.get(), name, reinterpret_cast<DEVMODEA*>(mode.data()), nullptr,
                              DM_OUT_BUFFER) != IDOK)
        return false;
    devMode_ = std::move(mode);
    return true;
}

std::optional<PrinterOrientation> WinPrinters::QueryOrientation() {
    if (devMode_.empty() && !LoadDeviceMode())
        return std::nullopt;
    const auto* mode = reinterpret_cast<const DEVMODEA*>(devMode_.data());
    return mode->dmOrientation == DMORIENT_LANDSCAPE ? PrinterOrientation::Landscape : PrinterOrientation::Portrait;
}

void WinPrinters::SelectPrinter(const std::string& name) {
    selected_ = name;
    devMode_.clear();
    LoadDeviceMode();
}

void WinPrinters::AdoptSetup(const std::string& name, std::vector<char> deviceMode) {
    selected_ = name;
    devMode_ = std::move(deviceMode);
}

void WinPrinters::SetOrientation(PrinterOrientation orientation) {
    if (devMode_.empty() && !LoadDeviceMode())
        return;
    auto* mode = reinterpret_cast<DEVMODEA*>(devMode_.data());
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = orientation == PrinterOrientation::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
}

}  // namespace vimbrel::win32
