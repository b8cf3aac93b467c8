#pragma once
// The clipboard as the edit commands use it: the picture in CF_DIB, "PNG" and CF_BITMAP,
// and the bytes, pixels or file names of what other programs put there.
#include <windows.h>

#include "workspace/clipboard_picture.h"

namespace vimbrel::win32 {

// Failures (the clipboard cannot be opened, a bitmap cannot be made or read) throw
// std::runtime_error, which the program's handler reports.
class WinClipboard final : public Clipboard {
public:
    explicit WinClipboard(HWND owner);
    void PutPicture(const Bitmap& picture, std::span<const std::uint8_t> dib, std::span<const std::uint8_t> png) override;
    bool Holds(ClipboardFormat format) override;
    bool HasText() override { return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE; }
    std::optional<std::vector<std::uint8_t>> GetData(ClipboardFormat format, std::size_t maxBytes) override;
    std::optional<Bitmap> GetBitmap() override;
    std::vector<std::string> DroppedFiles() override;
    bool HoldsOwnCopy() override;

private:
    UINT FormatId(ClipboardFormat format) const;

    HWND owner_;
    UINT pngFormat_;
    DWORD ownSequence_ = 0;  // the clipboard's sequence number once our last copy was on it
};

}  // namespace vimbrel::win32
