#pragma once
// The main window of class "TfrmCaptureForm": it owns the program's state for the whole run,
// builds its controls from the command table, hides to the notification area and ends only
// through the exit commands.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "app/win32/base_window.h"
#include "util/win32/handles.h"
#include "util/command_states.h"

namespace vimbrel::win32 {

class MainWindow : public BaseWindow<MainWindow> {
public:
    explicit MainWindow(std::string firstArgument);
    ~MainWindow();

    // Creates the window (hidden) and runs FormCreate. False when the window could not be made.
    bool Create();
    // Keys the window sees before its controls, and the menu accelerators.
    bool PreTranslate(MSG& msg);

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    struct State;

    void FormCreate();
    void CreateControls();
    void FormResize();
    void FormCloseQuery();
    void FormClose();
    void FormDestroy();

    void OnCommand(int id);
    void Execute(Handler handler, const CommandRef& ref);
    bool FormKeyDown(int virtualKey);
    void OnHandOverFile();

    void RestoreMainWindow();
    bool ConfirmExit();
    void Exit1Click();
    void UpdateNotesState();
    void UpdateOptionIndicators();
    void RegisterCaptureHotKeys();
    void UnregisterCaptureHotKeys();
    void shk1HotKey(int index);
    void SaveWindowPosition();
    void RestoreWindowPosition();
    void OpenHelp(int context);
    void OpenWebPage(const std::string& address);
    void ShowAndOpen(const std::string& path);
    void OpenFileByPathStep(const std::string& path);
    void EmptyWorkFolder();
    void SetStatusText(int panel, const std::string& text);

    std::unique_ptr<State> s_;
};

}  // namespace vimbrel::win32
