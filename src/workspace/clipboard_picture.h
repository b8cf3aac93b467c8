#pragma once
// The clipboard as the edit commands see it, and the rules for the pictures on it: which
// of its formats is read, how each is decoded, and what Copy puts there.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "workspace/bitmap.h"
#include "workspace/jpeg_file.h"

namespace vimbrel {

// The formats a picture is taken from, in the order they are preferred: the lossless ones
// that keep every pixel first, the device-dependent bitmap and a copied file last.
enum class ClipboardFormat { Png, DibV5, Dib, Bitmap, FileDrop };
inline constexpr ClipboardFormat kPictureFormatsInOrder[] = {ClipboardFormat::Png, ClipboardFormat::DibV5,
                                                             ClipboardFormat::Dib, ClipboardFormat::Bitmap,
                                                             ClipboardFormat::FileDrop};
// The registered format other programs exchange PNG files under.
inline constexpr const char* kPngFormatName = "PNG";
// No clipboard item larger than any picture we could hold is copied out.
inline constexpr std::size_t kMaxClipboardBytes = Bitmap::kMaxBytes + (std::size_t(1) << 20);

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents with one picture in three formats: CF_DIB (the
    // packed DIB given), PNG (the file given) and CF_BITMAP made from the picture.
    virtual void PutPicture(const Bitmap& picture, std::span<const std::uint8_t> dib,
                            std::span<const std::uint8_t> png) = 0;
    virtual bool Holds(ClipboardFormat format) = 0;
    virtual bool HasText() = 0;
    // The bytes of a PNG, CF_DIBV5 or CF_DIB item; nothing when it is gone. An item larger
    // than maxBytes throws EInvalidGraphic without being copied.
    virtual std::optional<std::vector<std::uint8_t>> GetData(ClipboardFormat format, std::size_t maxBytes) = 0;
    // The CF_BITMAP item's pixels; nothing when it is gone.
    virtual std::optional<Bitmap> GetBitmap() = 0;
    // The files of a CF_HDROP item, as copied in a file manager.
    virtual std::vector<std::string> DroppedFiles() = 0;
    // Whether what the clipboard holds now was put there by this program.
    virtual bool HoldsOwnCopy() = 0;
};

// Whether the clipboard holds a picture: one of the picture formats, or a copied file that
// is one picture file (a name the image reader takes).
bool HoldsPicture(Clipboard& clipboard);
// The clipboard's picture from the first format it holds; nothing when it holds none.
// Throws EInvalidGraphic when that picture is damaged, too large or (a copied file) cannot
// be read.
std::optional<Bitmap> ReadClipboardPicture(Clipboard& clipboard, const JpegReadOptions& options = {});
// The PNG file Copy puts on the clipboard: libdeflate's fastest level, since the clipboard holds
// it in memory for a moment and Copy runs after every capture when AutoClipCopy is on
// (bench/workspace/image_files_bench: BM_ClipboardCopyFormats).
std::vector<std::uint8_t> EncodeClipboardPng(const Bitmap& picture);
// Copy: the picture in every format, on the clipboard.
void PutClipboardPicture(Clipboard& clipboard, const Bitmap& picture);

}  // namespace vimbrel
