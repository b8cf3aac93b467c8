#include "app/edit_commands.h"

#include "workspace/current_image.h"

namespace vimbrel {

void EditCommands::BindTo(CommandRouter& router) { router.Bind(Handler::Copy, [this] { mnuCopyClick(); }); }

void EditCommands::mnuCopyClick() {
    if (deps_.image.imgMain.Empty()) return;
    clipboard_.PutBitmap(deps_.image.Image1());
}

}  // namespace vimbrel
