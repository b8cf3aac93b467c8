#pragma once
// The Edit menu's commands on the current image and the clipboard.
#include "app/command_ports.h"
#include "app/command_router.h"
#include "workspace/bitmap.h"

namespace vimbrel {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents with the picture as a bitmap.
    virtual void PutBitmap(const Bitmap& picture) = 0;
};

class EditCommands {
public:
    EditCommands(const CommandDeps& deps, Clipboard& clipboard) : deps_(deps), clipboard_(clipboard) {}
    void BindTo(CommandRouter& router);

    // The shown picture, at the zoom it is shown at, when there is a picture at all.
    void mnuCopyClick();

private:
    CommandDeps deps_;
    Clipboard& clipboard_;
};

}  // namespace vimbrel
