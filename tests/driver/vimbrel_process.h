#pragma once
// Drives Vimbrel.exe from outside, as a user and other programs would: starts it from a
// scratch copy, finds its window, sends it messages and menu commands, answers its dialogs,
// reads and writes its registry key.
#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

inline constexpr const char* kSettingsKey = "Software\\KRD\\Vimbrel";

// Settings key helpers (HKEY_CURRENT_USER\Software\KRD\Vimbrel).
void ClearSettings();
void WriteSetting(const std::string& name, const std::string& value);
void WriteDwordSetting(const std::string& name, DWORD value);
std::optional<std::string> ReadSetting(const std::string& name);

// Pumps this thread's messages until the predicate holds or the time is up.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s);

std::vector<HWND> TopWindowsOfClass(const std::string& className, DWORD processId = 0);
// A top-level window of the process whose title is exactly `title` (a dialog, say).
HWND FindProcessWindow(DWORD processId, const std::string& className, const std::string& title);
// The child control whose text is `text` (buttons, check boxes, labels).
HWND FindChildByText(HWND parent, const std::string& text);
// The command id of the menu item with this caption (with its "&"), searched through the
// window's menu bar and submenus; 0 when none.
UINT FindMenuCommand(HWND window, const std::string& caption);

// A Unix path as Wine shows it ("/a/b" is "Z:\a\b"), and back.
std::string WindowsPath(std::string unix);
std::string UnixPath(std::string windows);

// The PDFs of "Vimbrel Print Image" jobs in the test printer's folder (VIMBREL_PDF_DIR,
// set by tools/test-env), as Windows paths; empty without a test printer.
std::vector<std::string> PrintedImageJobs();

// Status panel 0 of the main window's status bar.
std::string StatusText(HWND main);
// Presses the keys in order and lets them go in reverse order (Ctrl+F2: {VK_CONTROL, VK_F2}).
void PressKeys(std::initializer_list<WORD> keys);
// Moves the mouse to a screen pixel with the button flags given, then lets the move land.
void SendMouse(int x, int y, DWORD flags = 0);
// Presses the left button at one screen pixel, drags through the middle to the other, lets go.
void DragMouse(POINT from, POINT to);
// Brings the window in front and waits until it is: the keys go to the window in front, and
// a dialog that just closed may have left another there.
bool InFront(HWND window);
// The screen point of a pixel of the picture shown at 1:1 in the main window's box.
POINT PictureOnScreen(HWND main, int x, int y);
// The first window of that class below `parent`, at any depth.
HWND FindDescendantOfClass(HWND parent, const std::string& className);
// True when this process can take the hotkey combination (and it gives it back at once).
bool CombinationFree(UINT modifiers, UINT key);
// The control with this id below `parent`, at any depth (a dialog's pages are dialogs too).
HWND FindDescendantById(HWND parent, int id);
// The text of a window of another process (WM_GETTEXT, which crosses processes).
std::string WindowText(HWND window);
// Another program holding one hotkey (modifiers as RegisterHotKey takes them) until destroyed.
class HotKeyHolder {
public:
    HotKeyHolder(UINT modifiers, UINT key);
    ~HotKeyHolder();
    HotKeyHolder(const HotKeyHolder&) = delete;
    HotKeyHolder& operator=(const HotKeyHolder&) = delete;
    // True once the holder has the hotkey.
    bool Holding() const { return holding_; }

private:
    HANDLE ready_ = nullptr, quit_ = nullptr;
    PROCESS_INFORMATION pi_{};
    bool holding_ = false;
};
// Answers a common file dialog of the process titled `title`: types the name and presses OK.
// False when no such dialog came or it did not close.
bool AnswerFileDialog(DWORD processId, const std::string& title, const std::string& name);

// The program's work folder (%APPDATA%\Vimbrel\ework\ by default), with its backslash.
std::string WorkFolder();
// Presses OK on a message box of the process titled `title` once it shows `text`; false
// when none came.
bool AnswerMessageBox(DWORD processId, const std::string& title, const std::string& text);

class VimbrelProcess {
public:
    // A scratch folder with a fresh copy of the program and its help pages.
    explicit VimbrelProcess(const std::string& scratchName);
    ~VimbrelProcess();
    VimbrelProcess(const VimbrelProcess&) = delete;
    VimbrelProcess& operator=(const VimbrelProcess&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string ExePath() const { return folder_ + "Vimbrel.exe"; }

    // Starts the program; true once its main window exists.
    bool Start(const std::string& arguments = "");
    // Starts another copy from the same folder and waits for it to end; its exit code.
    std::optional<DWORD> RunSecondInstance(const std::string& arguments, std::chrono::milliseconds timeout = 20s);
    bool Running() const;
    bool WaitForExit(std::chrono::milliseconds timeout = 15s);
    DWORD ProcessId() const { return pi_.dwProcessId; }
    HWND MainWindow() const { return main_; }

    // Sends the menu command with this caption, without waiting for it to finish.
    bool PostMenuCommand(const std::string& caption);
    // Ends the program through its exit command, answering the question with Yes if it asks.
    bool Exit();

private:
    // Runs the program from the scratch folder with these arguments.
    bool Launch(const std::string& arguments, PROCESS_INFORMATION& pi) const;

    std::string folder_;
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

}  // namespace e2e
