#include "vimbrel_process.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>

#include "app/main_commands.h"

namespace e2e {
namespace {

// The tests speak in the screen's physical pixels, as the program does, whatever its scale.
[[maybe_unused]] const bool kPhysicalPixels =
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;

std::string BuildFolder() {
    // The build folder is a Unix path; Wine shows the Unix root as drive Z:.
    std::string unix = VIMBREL_BUILD_DIR;
    std::replace(unix.begin(), unix.end(), '/', '\\');
    return "Z:" + unix + "\\";
}

std::string TempFolder() {
    char buf[MAX_PATH];
    DWORD n = ::GetTempPathA(MAX_PATH, buf);
    return std::string(buf, n);
}

void DeleteTree(const std::string& folder) {
    std::string from = folder;
    if (!from.empty() && from.back() == '\\') from.pop_back();
    from.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    ::SHFileOperationA(&op);
}

struct FindState {
    DWORD pid;
    std::string className, title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp) {
    auto* st = reinterpret_cast<FindState*>(lp);
    char cls[256] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (st->className != cls) return TRUE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (st->pid && pid != st->pid) return TRUE;
    if (!st->title.empty()) {
        char text[512] = {};
        ::GetWindowTextA(hwnd, text, sizeof text);
        if (st->title != text) return TRUE;
    }
    st->found.push_back(hwnd);
    return TRUE;
}

UINT SearchMenu(HMENU menu, const std::string& caption) {
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        ::GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        std::string item = text;
        item = item.substr(0, item.find('\t'));
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (UINT id = SearchMenu(sub, caption)) return id;
        } else if (item == caption) {
            return ::GetMenuItemID(menu, i);
        }
    }
    return 0;
}

UINT SearchTable(const std::vector<vimbrel::MenuItem>& items, const std::string& caption) {
    for (const vimbrel::MenuItem& item : items) {
        if (item.children.empty() && !item.hidden && item.caption == caption)
            return UINT(vimbrel::MainCommandTable().Id(item.name));
        if (UINT id = SearchTable(item.children, caption)) return id;
    }
    return 0;
}

}  // namespace

void ClearSettings() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

void WriteSetting(const std::string& name, const std::string& value) {
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     DWORD(value.size() + 1));
    ::RegCloseKey(key);
}

void WriteDwordSetting(const std::string& name, DWORD value) {
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(key);
}

std::optional<std::string> ReadSetting(const std::string& name) {
    char buf[2048];
    DWORD size = sizeof buf, type = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_ANY, &type, buf, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
    return std::string(buf, size ? size - 1 : 0);
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::string WindowsPath(std::string unix) {
    std::replace(unix.begin(), unix.end(), '/', '\\');
    return "Z:" + unix;
}

std::string UnixPath(std::string windows) {
    std::replace(windows.begin(), windows.end(), '\\', '/');
    return windows.substr(2);
}

std::vector<std::string> PrintedImageJobs() {
    std::vector<std::string> jobs;
    const char* folder = std::getenv("VIMBREL_PDF_DIR");
    if (!folder) return jobs;
    WIN32_FIND_DATAA found;
    const std::string base = WindowsPath(folder) + "\\";
    HANDLE search = ::FindFirstFileA((base + "Vimbrel_Print_Image-job_*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return jobs;
    do jobs.push_back(base + found.cFileName);
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return jobs;
}

std::string StatusText(HWND main) {
    HWND bar = ::FindWindowExA(main, nullptr, "msctls_statusbar32", nullptr);
    char text[1024] = {};
    if (bar) ::SendMessageA(bar, WM_GETTEXT, sizeof text, LPARAM(text));
    return text;
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    auto add = [&](WORD key, DWORD flags) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    for (WORD k : keys) add(k, 0);
    for (auto it = keys.end(); it != keys.begin();) add(*--it, KEYEVENTF_KEYUP);
    ::SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

void SendMouse(int x, int y, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ::MulDiv(y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
    WaitFor([] { return false; }, 60ms);
}

void DragMouse(POINT from, POINT to) {
    SendMouse(from.x, from.y);
    SendMouse(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
    SendMouse((from.x + to.x) / 2, (from.y + to.y) / 2);
    SendMouse(to.x, to.y);
    SendMouse(to.x, to.y, MOUSEEVENTF_LEFTUP);
}

bool InFront(HWND window) {
    return WaitFor([&] {
        if (::GetForegroundWindow() == window) return true;
        ::SetForegroundWindow(window);
        return false;
    });
}

POINT PictureOnScreen(HWND main, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(FindDescendantOfClass(main, "TScrollBox"), &p);
    return p;
}

std::vector<HWND> TopWindowsOfClass(const std::string& className, DWORD processId) {
    FindState st{processId, className, "", {}};
    ::EnumWindows(CollectTop, LPARAM(&st));
    return st.found;
}

HWND FindProcessWindow(DWORD processId, const std::string& className, const std::string& title) {
    FindState st{processId, className, title, {}};
    ::EnumWindows(CollectTop, LPARAM(&st));
    return st.found.empty() ? nullptr : st.found.front();
}

HWND FindChildByText(HWND parent, const std::string& text) {
    struct S {
        std::string text;
        HWND found = nullptr;
    } s{text};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* st = reinterpret_cast<S*>(lp);
            char buf[512] = {};
            ::GetWindowTextA(child, buf, sizeof buf);
            if (st->text == buf) {
                st->found = child;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&s));
    return s.found;
}

UINT FindMenuCommand(HWND window, const std::string& caption) {
    HMENU bar = ::GetMenu(window);
    if (bar && ::GetMenuItemCount(bar) > 0) return SearchMenu(bar, caption);
    // Wine keeps menus inside the process that made them, so another process cannot read
    // them; the program builds its menus from its command table, which we search instead.
    return SearchTable(vimbrel::MainCommandTable().MenuItems(vimbrel::Menu::Main), caption);
}

HWND FindDescendantOfClass(HWND parent, const std::string& className) {
    struct Search {
        std::string name;
        HWND found = nullptr;
    } search{className, nullptr};
    ::EnumChildWindows(parent, [](HWND c, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char cls[64] = {};
        ::GetClassNameA(c, cls, sizeof cls);
        if (s->name != cls) return TRUE;
        s->found = c;
        return FALSE;
    }, LPARAM(&search));
    return search.found;
}

bool CombinationFree(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(nullptr, 0x7001, modifiers, key)) return false;
    ::UnregisterHotKey(nullptr, 0x7001);
    return true;
}

HWND FindDescendantById(HWND parent, int id) {
    struct Search {
        int id;
        HWND found = nullptr;
    } search{id};
    ::EnumChildWindows(parent, [](HWND c, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (::GetDlgCtrlID(c) != s->id) return TRUE;
        s->found = c;
        return FALSE;
    }, LPARAM(&search));
    return search.found;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
}

HotKeyHolder::HotKeyHolder(UINT modifiers, UINT key) {
    static int serial = 0;
    const std::string tag = "VimbrelHolder" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial);
    ready_ = ::CreateEventA(nullptr, TRUE, FALSE, (tag + "ready").c_str());
    quit_ = ::CreateEventA(nullptr, TRUE, FALSE, (tag + "quit").c_str());
    std::string exe = BuildFolder() + "tests\\standins\\hotkey_holder.exe";
    std::string cmd = "\"" + exe + "\" " + std::to_string(modifiers) + " " + std::to_string(key) + " " + tag + "ready " +
                      tag + "quit";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!ready_ || !quit_ || !::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
        return;
    HANDLE waits[] = {ready_, pi_.hProcess};
    holding_ = ::WaitForMultipleObjects(2, waits, FALSE, 10000) == WAIT_OBJECT_0;
}

HotKeyHolder::~HotKeyHolder() {
    if (quit_) ::SetEvent(quit_);
    if (pi_.hProcess) {
        if (::WaitForSingleObject(pi_.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(pi_.hProcess, 99);
        ::CloseHandle(pi_.hProcess);
        ::CloseHandle(pi_.hThread);
    }
    if (ready_) ::CloseHandle(ready_);
    if (quit_) ::CloseHandle(quit_);
}

bool AnswerFileDialog(DWORD processId, const std::string& title, const std::string& name) {
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindProcessWindow(processId, "#32770", title)) != nullptr; })) {
        for (HWND w : TopWindowsOfClass("#32770", processId)) {
            char t[256] = {};
            ::GetWindowTextA(w, t, sizeof t);
            std::fprintf(stderr, "no '%s' dialog; there is one titled '%s'\n", title.c_str(), t);
        }
        return false;
    }
    // Type only once the dialog has finished filling itself in.
    WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; });
    WaitFor([] { return false; }, 500ms);
    // The file-name box (control 1148) holds its edit a level or two down.
    HWND box = ::GetDlgItem(dialog, 1148);
    HWND edit = box ? FindDescendantOfClass(box, "Edit") : nullptr;
    if (!edit) return false;
    ::SendMessageA(edit, WM_SETTEXT, 0, LPARAM(name.c_str()));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitFor([&] { return !::IsWindow(dialog); }, 20s);
}

std::string WorkFolder() {
    char appData[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Vimbrel\\ework\\";
}

bool AnswerMessageBox(DWORD processId, const std::string& title, const std::string& text) {
    return WaitFor([&] {
        HWND box = FindProcessWindow(processId, "#32770", title);
        if (!box || !FindChildByText(box, text)) return false;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
}

VimbrelProcess::VimbrelProcess(const std::string& scratchName) {
    folder_ = TempFolder() + "vimbrel-e2e\\" + scratchName + "\\";
    DeleteTree(folder_);
    ::SHCreateDirectoryExA(nullptr, folder_.c_str(), nullptr);
    const std::string build = BuildFolder();
    for (const char* file : {"Vimbrel.exe", "Vimbrel.htm"})
        ::CopyFileA((build + file).c_str(), (folder_ + file).c_str(), FALSE);
}

VimbrelProcess::~VimbrelProcess() {
    if (Running()) {
        ::TerminateProcess(pi_.hProcess, 99);
        ::WaitForSingleObject(pi_.hProcess, 5000);
    }
    if (pi_.hProcess) ::CloseHandle(pi_.hProcess);
    if (pi_.hThread) ::CloseHandle(pi_.hThread);
}

// Under a busy wineserver CreateProcess now and then fails for a process that would start
// fine a moment later; that is the harness's trouble, not the program's, so it is said on
// the test's output and tried again.
bool VimbrelProcess::Launch(const std::string& arguments, PROCESS_INFORMATION& pi) const {
    std::string command = "\"" + ExePath() + "\"" + (arguments.empty() ? "" : " " + arguments);
    for (int attempt = 1;; ++attempt) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &pi))
            return true;
        std::fprintf(stderr, "CreateProcess failed (error %lu), attempt %d: %s\n", ::GetLastError(), attempt,
                     command.c_str());
        if (attempt == 3) return false;
        ::Sleep(500);
    }
}

bool VimbrelProcess::Start(const std::string& arguments) {
    if (!Launch(arguments, pi_)) return false;
    // The window exists before start-up has finished; the message loop waiting for input
    // tells that it has.
    ::WaitForInputIdle(pi_.hProcess, 30000);
    return WaitFor([&] {
        main_ = FindProcessWindow(pi_.dwProcessId, "TfrmCaptureForm", "");
        return main_ != nullptr || !Running();
    }, 30s) && main_ != nullptr;
}

std::optional<DWORD> VimbrelProcess::RunSecondInstance(const std::string& arguments, std::chrono::milliseconds timeout) {
    PROCESS_INFORMATION pi{};
    if (!Launch(arguments, pi)) return std::nullopt;
    bool ended = WaitFor([&] { return ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, timeout);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    if (!ended) ::TerminateProcess(pi.hProcess, 98);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    if (!ended) return std::nullopt;
    return code;
}

bool VimbrelProcess::Running() const {
    return pi_.hProcess && ::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool VimbrelProcess::WaitForExit(std::chrono::milliseconds timeout) {
    return WaitFor([&] { return !Running(); }, timeout);
}

bool VimbrelProcess::PostMenuCommand(const std::string& caption) {
    UINT id = FindMenuCommand(main_, caption);
    return id && ::PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool VimbrelProcess::Exit() {
    if (!PostMenuCommand("E&xit")) return false;
    WaitFor([&] {
        if (!Running()) return true;
        HWND dlg = FindProcessWindow(pi_.dwProcessId, "#32770", "  Vimbrel   ");
        if (HWND yes = dlg ? FindChildByText(dlg, "&Yes") : nullptr) {
            ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), LPARAM(yes));
            return false;
        }
        return false;
    }, 15s);
    return WaitForExit();
}

}  // namespace e2e
