#include "app/hand_over.h"

namespace vimbrel {

HandOverMessage DecideHandOver(const std::string& argument, bool argumentIsExistingFile) {
    if (argument == "\\F") return HandOverMessage::CaptureFullScreen;
    if (argument == "\\A") return HandOverMessage::CaptureActiveWindow;
    if (!argument.empty() && argumentIsExistingFile) return HandOverMessage::OpenHandOverFile;
    return HandOverMessage::Restore;
}

}  // namespace vimbrel
