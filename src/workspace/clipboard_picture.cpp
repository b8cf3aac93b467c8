#include "workspace/clipboard_picture.h"

#include "util/errors.h"
#include "workspace/bmp_file.h"
#include "workspace/file_kinds.h"
#include "workspace/image_errors.h"
#include "workspace/image_file.h"
#include "workspace/png_file.h"

namespace vimbrel {
namespace {

// The one picture file of a copied-file item.
std::optional<std::string> DroppedPictureFile(Clipboard& clipboard) {
    if (!clipboard.Holds(ClipboardFormat::FileDrop)) return std::nullopt;
    const std::vector<std::string> files = clipboard.DroppedFiles();
    if (files.size() != 1 || ReadFormatFor(files.front()) == ImageFormat::None) return std::nullopt;
    return files.front();
}

std::optional<Bitmap> Read(Clipboard& clipboard, ClipboardFormat format, const JpegReadOptions& options) {
    switch (format) {
    case ClipboardFormat::Png:
    case ClipboardFormat::DibV5:
    case ClipboardFormat::Dib: {
        const std::optional<std::vector<std::uint8_t>> data = clipboard.GetData(format, kMaxClipboardBytes);
        if (!data) return std::nullopt;
        return format == ClipboardFormat::Png ? DecodePng(*data) : DecodeDib(*data);
    }
    case ClipboardFormat::Bitmap:
        return clipboard.GetBitmap();
    case ClipboardFormat::FileDrop: {
        const std::optional<std::string> file = DroppedPictureFile(clipboard);
        if (!file) return std::nullopt;
        try {
            return LoadImageFile(*file, options);
        } catch (const EInOutError& e) {
            // Copied, then moved or deleted: as unreadable as a damaged one.
            throw EInvalidGraphic(e.what());
        }
    }
    }
    return std::nullopt;
}

}  // namespace

bool HoldsPicture(Clipboard& clipboard) {
    for (ClipboardFormat format : kPictureFormatsInOrder) {
        if (format == ClipboardFormat::FileDrop) return DroppedPictureFile(clipboard).has_value();
        if (clipboard.Holds(format)) return true;
    }
    return false;
}

std::optional<Bitmap> ReadClipboardPicture(Clipboard& clipboard, const JpegReadOptions& options) {
    for (ClipboardFormat format : kPictureFormatsInOrder) {
        if (!clipboard.Holds(format)) continue;
        try {
            // An item that is gone meanwhile (or that the system could not make from another
            // format) gives way to the next format; a damaged one is the answer, since the
            // formats after it are often the system's copies of it.
            if (std::optional<Bitmap> picture = Read(clipboard, format, options); picture && !picture->Empty())
                return picture;
        } catch (const EImageTooLarge& e) {
            throw EInvalidGraphic(e.what());
        }
    }
    return std::nullopt;
}

std::vector<std::uint8_t> EncodeClipboardPng(const Bitmap& picture) {
    PngWriteOptions fastest;
    fastest.compressionLevel = 1;
    return EncodePng(picture, fastest);
}

void PutClipboardPicture(Clipboard& clipboard, const Bitmap& picture) {
    clipboard.PutPicture(picture, EncodeDib(picture), EncodeClipboardPng(picture));
}

}  // namespace vimbrel
