#include "capture/screen_grab.h"

namespace vimbrel {

bool UseCaptureBlt(const std::optional<OsVersion>& version) { return !version || version->major != 4; }

}  // namespace vimbrel
