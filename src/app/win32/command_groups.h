#pragma once
// The main window's command groups with the Windows ports they share: built in order once
// the settings are loaded, each bound to the router, and destroyed in reverse order before
// the settings, the picture and the window state they refer to.
#include <windows.h>

#include <functional>
#include <string>

#include "capture/capture_commands.h"
#include "capture/delayed_capture_commands.h"
#include "capture/win32/second_timer.h"
#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "workspace/edit_commands.h"
#include "crypto/encryption_commands.h"
#include "app/help_commands.h"
#include "workspace/image_file_commands.h"
#include "capture/win32/capture_desktop.h"
#include "print/image_print_commands.h"
#include "settings_ui/settings_commands.h"
#include "mail/mail_commands.h"
#include "commands/win32/dialogs.h"
#include "crypto/win32/encryption_ui.h"
#include "mail/win32/mail_ui.h"
#include "app/win32/main_settings.h"
#include "print/win32/print_ui.h"
#include "settings_ui/win32/settings_window.h"
#include "commands/win32/shell.h"
#include "print/preview_commands.h"
#include "print/text_print_commands.h"
#include "print/win32/preview_ui.h"
#include "print/win32/text_print_ui.h"
#include "capture/win32/cap_area.h"
#include "capture/win32/screen_grab.h"
#include "workspace/current_image.h"
#include "workspace/win32/clipboard.h"
#include "workspace/win32/image_box.h"
#include "markup/markup_commands.h"
#include "markup/win32/gdi_text_shaper.h"
#include "markup/win32/markup_canvas.h"
#include "markup/win32/markup_tool_bar.h"

namespace vimbrel::win32 {

struct MainWindowParts {
    HWND window;
    std::string appTitle;
    std::string programFolder;
    MainSettings& settings;
    CurrentImage& image;
    CommandStates& commands;
    CursorPort& cursor;
    MainView& view;
    TSysHotKey& hotKeys;
    const CommandTable& table;
    ImageBox& imageBox;
    // PrintTextFont as it is at the moment of asking.
    std::function<HFONT()> printTextFont;
    // The commands of the window's own life.
    std::function<void()> exit, restore, toggleNotes;
    // The tray icon's hint, for a countdown.
    std::function<void(const std::string&)> showTrayHint;
};

// The tray hint as the delayed capture shows its countdown.
class TrayCountdownHint : public CountdownHint {
public:
    explicit TrayCountdownHint(std::function<void(const std::string&)> show) : show_(std::move(show)) {}
    void ShowHint(const std::string& text) override {
        if (show_) show_(text);
    }

private:
    std::function<void(const std::string&)> show_;
};

class CommandGroups {
public:
    CommandGroups(const MainWindowParts& parts, CommandRouter& router);
    CommandGroups(const CommandGroups&) = delete;
    CommandGroups& operator=(const CommandGroups&) = delete;

    ImageFileCommands& Files() { return files_; }
    EditCommands& Edit() { return edit_; }
    MarkupCommands& Markup() { return markup_; }
    MarkupToolBar& MarkupBar() { return markupBar_; }

private:
    WinDialogs dialogs_;
    WinEncryptionDialogs encryptionUi_;
    WinShell shell_;
    WinImagePrinter printer_;
    WinPrintUi printUi_;
    CommandDeps deps_;
    WinScreen screen_;
    WinAreaOverlay overlay_;
    WinCaptureDesktop desktop_;
    WinClipboard clipboard_;
    WinStampPainter stamps_;
    ImageFileCommands files_;
    HelpCommands help_;
    CaptureCommands captures_;
    WinSecondTimer delayTimer_;
    TrayCountdownHint countdownHint_;
    DelayedCaptureCommands delayed_;
    EditCommands edit_;
    GdiTextShaper textShaper_;
    MarkupToolBar markupBar_;
    WinMarkupCanvas markupCanvas_;
    MarkupCommands markup_;
    ImagePrintCommands print_;
    EncryptionCommands encryption_;
    WinPreviewUi previewUi_;
    WinPreviewPrinter previewPrinter_;
    PreviewCommands preview_;
    WinTextPrinter textPrinter_;
    TextPrintCommands textPrint_;
    WinSettingsDialog settingsUi_;
    SettingsCommands settings_;
    WinMailUi mailUi_;
    MailCommands mail_;
};

}  // namespace vimbrel::win32
