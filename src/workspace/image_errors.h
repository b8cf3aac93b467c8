#pragma once
// Failures of the image file readers and writers.
#include <stdexcept>

#include "util/errors.h"

namespace vimbrel {

// What the user is told when a file cannot be read as a picture.
inline constexpr const char* kUnreadableImageMessage = "Unable to read or decrypt the image";

// A file that is not a picture we can read: damaged, cut short, impossible sizes or
// offsets. Every reader ends in this one type so the caller shows kUnreadableImageMessage.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Files that cannot be opened, created or written raise EInOutError (util/errors.h) and go
// to the general error report.

}  // namespace vimbrel
