#pragma once
// The main window of class "TfrmCaptureForm": it owns the program's state for the whole run,
// builds its controls from the command table, routes every command to the command groups,
// hides to the notification area and ends only through the exit commands.
#include <windows.h>

#include <memory>
#include <string>

#include "util/win32/window_base.h"

namespace vimbrel::win32 {

class MainWindow : public WindowBase {
public:
    explicit MainWindow(std::string firstArgument);
    ~MainWindow() override;

    // Creates the window (hidden) and runs FormCreate. False when the window could not be made.
    bool Create();
    // Keys the window sees before its controls, and the menu accelerators.
    bool PreTranslate(MSG& msg);

private:
    struct State;

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    void FormCreate();
    void CreateControls();
    void MirrorAllCommands();
    void RedrawMenuBarSoon();
    void FormResize();
    void DpiChanged(int dpi, const RECT& suggested);
    void FormCloseQuery();
    // The work folder emptied, the settings written, the window destroyed.
    void CloseNow();
    void FormClose();
    void FormDestroy();

    bool FormKeyDown(int virtualKey);
    void OnHandOverFile();

    void RestoreMainWindow();
    bool ConfirmExit();
    void Exit1Click();
    void UpdateNotesState();
    void UpdateOptionIndicators();
    void SaveWindowPosition();
    void RestoreWindowPosition();
    void ShowAndOpen(const std::string& path);
    void EmptyWorkFolder();
    void SetStatusText(int panel, const std::string& text);

    std::unique_ptr<State> s_;
};

}  // namespace vimbrel::win32
