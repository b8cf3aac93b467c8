// vimbrel-remote: works a running Vimbrel from outside, for the run command's headless
// demonstration. Each command prints what it saw and exits 0 on success.
//   vimbrel-remote wait-window     wait until the main window exists
//   vimbrel-remote report          print whether the window is shown, its caption and place
//   vimbrel-remote exit            choose File, Exit and answer the question with Yes
//   vimbrel-remote save-captures FOLDER
//                                  switch auto save on, numbered from 1, into FOLDER
//   vimbrel-remote wait-capture FOLDER
//                                  wait for the first numbered capture there and describe it
//   vimbrel-remote file-version FILE
//                                  print the file version of FILE's version resource
//   vimbrel-remote shortcut-target LINK
//                                  print the program a shell shortcut (.lnk) starts
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "saved_picture.h"
#include "vimbrel_process.h"
#include "util/win32/system.h"

using namespace e2e;

namespace {

HWND MainWindowNow() {
    auto windows = TopWindowsOfClass("TfrmCaptureForm");
    return windows.empty() ? nullptr : windows.front();
}

// What the shell resolves the shortcut to, as a double-click would start it.
std::string ShortcutTarget(const std::string& link) {
    std::string target;
    if (FAILED(::CoInitialize(nullptr))) return target;
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring wide(link.begin(), link.end());
            char path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
                target = path;
            file->Release();
        }
        shellLink->Release();
    }
    ::CoUninitialize();
    return target;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    const std::string folder = argc > 2 ? argv[2] : "";
    if (command == "save-captures" && !folder.empty()) {
        WriteSetting("AutoSave", "On");
        WriteSetting("AutoSavePath", folder);
        WriteSetting("NextSaveNo", "1");
        return 0;
    }
    if (command == "wait-capture" && !folder.empty()) {
        const std::string file = folder + "\\Vimbrel-00001.bmp";
        const std::optional<vimbrel::Bitmap> picture = WaitForPicture(file, 30s);
        if (!picture) {
            std::printf("No capture arrived in %s.\n", folder.c_str());
            return 1;
        }
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
        std::printf("Vimbrel captured the screen into %s: %d x %d pixels, %lu bytes.\n", file.c_str(), picture->Width(),
                    picture->Height(), static_cast<unsigned long>(data.nFileSizeLow));
        return 0;
    }
    if (command == "file-version" && !folder.empty()) {
        const std::string version = vimbrel::win32::GetFileVersionText(folder);
        std::printf("%s\n", version.c_str());
        return version.empty() ? 1 : 0;
    }
    if (command == "shortcut-target" && !folder.empty()) {
        const std::string target = ShortcutTarget(folder);
        std::printf("%s\n", target.c_str());
        return target.empty() ? 1 : 0;
    }
    if (command == "wait-window") {
        HWND w = nullptr;
        bool found = WaitFor([&] { return (w = MainWindowNow()) != nullptr; }, 30s);
        std::printf(found ? "Vimbrel is running in the notification area.\n" : "Vimbrel's window did not appear.\n");
        return found ? 0 : 1;
    }
    HWND w = MainWindowNow();
    if (!w) {
        std::printf("Vimbrel is not running.\n");
        return 1;
    }
    if (command == "report") {
        WaitFor([&] { return ::IsWindowVisible(w) != FALSE; }, 5s);
        char caption[256] = {};
        ::GetWindowTextA(w, caption, sizeof caption);
        RECT r;
        ::GetWindowRect(w, &r);
        std::printf("Main window \"%s\" is %s at %ld,%ld, %ld x %ld.\n", caption,
                    ::IsWindowVisible(w) ? "shown" : "hidden", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == "exit") {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        UINT id = FindMenuCommand(w, "E&xit");
        if (!id || !::PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, 0), 0)) return 1;
        bool closed = WaitFor([&] {
            if (!::IsWindow(w)) return true;
            if (HWND dlg = FindProcessWindow(pid, "#32770", "  Vimbrel   "))
                if (HWND yes = FindChildByText(dlg, "&Yes")) ::SendMessageA(yes, BM_CLICK, 0, 0);
            return false;
        }, 20s);
        std::printf(closed ? "Vimbrel was asked to exit and closed.\n" : "Vimbrel did not close.\n");
        return closed ? 0 : 1;
    }
    std::printf("usage: vimbrel-remote wait-window | report | exit | save-captures FOLDER | wait-capture FOLDER |\n"
                "                      file-version FILE | shortcut-target LINK\n");
    return 2;
}
