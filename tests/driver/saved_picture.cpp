#include "saved_picture.h"

#include <exception>

#include "vimbrel_process.h"
#include "workspace/image_file.h"

namespace e2e {

std::optional<vimbrel::Bitmap> WaitForPicture(const std::string& path, std::chrono::milliseconds timeout) {
    std::optional<vimbrel::Bitmap> picture;
    WaitFor([&] {
        try {
            picture = vimbrel::LoadImageFile(path);
        } catch (const std::exception&) {
            picture.reset();
        }
        return picture.has_value();
    }, timeout);
    return picture;
}

}  // namespace e2e
