#include "app/win32/command_groups.h"

#include "mail/win32/mapi_library.h"

namespace vimbrel::win32 {

namespace {
constexpr int kAreaOverlayHelpContext = 30;
}

CommandGroups::CommandGroups(const MainWindowParts& parts, CommandRouter& router)
    : dialogs_(parts.window, parts.appTitle),
      encryptionUi_(parts.window),
      shell_(parts.window),
      printer_(parts.window, parts.settings.Printers()),
      printUi_(parts.window),
      deps_{.image = parts.image,
            .flags = parts.settings.Flags(),
            .commands = parts.commands,
            .store = parts.settings.Store(),
            .files = parts.settings.Files(),
            .dialogs = dialogs_,
            .shell = shell_,
            .cursor = parts.cursor,
            .view = parts.view,
            .hotKeys = parts.hotKeys,
            .router = router,
            .programFolder = parts.programFolder,
            .dataFolder = parts.settings.DataFolder()},
      overlay_(parts.window, [&router] { router.Route(handler::HelpContext, kAreaOverlayHelpContext); }),
      desktop_(parts.appTitle),
      clipboard_(parts.window),
      files_(deps_),
      help_(deps_),
      captures_(deps_, screen_, overlay_, desktop_),
      countdownHint_(parts.showTrayHint),
      delayed_(deps_, captures_, delayTimer_, countdownHint_),
      edit_(deps_, clipboard_, stamps_, files_, [this] { return captures_.CropMode(); }, desktop_),
      markupBar_(parts.table, textShaper_),
      markupCanvas_(parts.window, parts.imageBox, markupBar_),
      markup_(deps_, textShaper_, markupCanvas_),
      print_(deps_, PrintPorts{parts.settings.Printers(), printer_, printUi_}),
      encryption_(deps_, encryptionUi_, files_, parts.settings.WorkFolder()),
      previewUi_(parts.window),
      previewPrinter_(parts.settings.Printers()),
      preview_(deps_, PreviewPorts{parts.settings.Printers(), printer_, previewPrinter_, previewUi_, print_}),
      textPrinter_(parts.window, parts.settings.Printers(), parts.printTextFont),
      textPrint_(deps_, textPrinter_),
      settingsUi_(parts.window),
      settings_(deps_, settingsUi_, parts.settings.OutlookInstalled(), parts.settings.Startup()),
      mailUi_(parts.window, parts.appTitle),
      mail_(deps_, mailUi_, files_, [] { return LoadMapiOnce(); }, parts.settings.WorkFolder()) {
    router.Bind(handler::Exit, parts.exit);
    router.Bind(handler::Restore, parts.restore);
    router.Bind(handler::Notes, parts.toggleNotes);
    CurrentImage& image = parts.image;
    router.Bind(handler::Zoom, [&image](const CommandRef& ref) { image.ZoomItemClick(ref.argument); });
    router.Bind(handler::Undo, [&image] { image.mnuUndoClick(); });
    router.Bind(handler::Clear, [&image] { image.Clear1Click(); });
    files_.BindTo(router);
    help_.BindTo(router);
    edit_.BindTo(router);
    markup_.BindTo(router);
    EditCommands& edit = edit_;
    markupCanvas_.Attach(markup_, {[&edit](MouseButton b, Point at) { edit.Image1MouseDown(b, at); },
                                   [&edit](MouseButton b, Point at) { edit.Image1MouseUp(b, at); },
                                   [&edit](Point at) { edit.Image1MouseMove(at); }});
    captures_.BindTo(router);
    delayed_.BindTo(router);
    print_.BindTo(router);
    encryption_.BindTo(router);
    preview_.BindTo(router);
    textPrint_.BindTo(router);
    settings_.BindTo(router);
    mail_.BindTo(router);
}

}  // namespace vimbrel::win32
