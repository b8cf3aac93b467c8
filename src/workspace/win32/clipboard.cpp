#include "workspace/win32/clipboard.h"

#include <shellapi.h>

#include <cstring>
#include <stdexcept>

#include "util/win32/gdi_handles.h"
#include "util/win32/handles.h"
#include "workspace/image_errors.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {
namespace {

// A movable block holding the bytes, for SetClipboardData.
UniqueGlobal GlobalCopy(std::span<const std::uint8_t> bytes) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!block) throw std::runtime_error("Not enough memory to put the picture on the clipboard");
    GlobalLockGuard<std::uint8_t> locked(block.get());
    if (!locked.get()) throw std::runtime_error("Not enough memory to put the picture on the clipboard");
    std::memcpy(locked.get(), bytes.data(), bytes.size());
    return block;
}

void Place(UINT format, HANDLE data) {
    if (!::SetClipboardData(format, data)) throw std::runtime_error("The picture could not be put on the clipboard");
}

}  // namespace

WinClipboard::WinClipboard(HWND owner) : owner_(owner), pngFormat_(::RegisterClipboardFormatA(kPngFormatName)) {}

UINT WinClipboard::FormatId(ClipboardFormat format) const {
    switch (format) {
    case ClipboardFormat::Png: return pngFormat_;
    case ClipboardFormat::DibV5: return CF_DIBV5;
    case ClipboardFormat::Dib: return CF_DIB;
    case ClipboardFormat::Bitmap: return CF_BITMAP;
    case ClipboardFormat::FileDrop: return CF_HDROP;
    }
    return 0;
}

void WinClipboard::PutPicture(const Bitmap& picture, std::span<const std::uint8_t> dib,
                              std::span<const std::uint8_t> png) {
    // A device-dependent bitmap, as CF_BITMAP readers expect.
    DibInfo info = MakeDibInfo(picture);
    WindowDC screen(nullptr);
    GdiBitmap bitmap(::CreateDIBitmap(screen.get(), &info.header, CBM_INIT, picture.Data(), info.get(), DIB_RGB_COLORS));
    if (!bitmap) throw std::runtime_error("The picture could not be put on the clipboard");
    UniqueGlobal dibBlock = GlobalCopy(dib);
    UniqueGlobal pngBlock = GlobalCopy(png);
    {
        OpenClipboardScope clipboard(owner_);
        if (!clipboard) throw std::runtime_error("The clipboard could not be opened");
        ::EmptyClipboard();
        // The clipboard owns each item once it has taken it.
        Place(CF_DIB, dibBlock.get());
        dibBlock.release();
        Place(pngFormat_, pngBlock.get());
        pngBlock.release();
        Place(CF_BITMAP, bitmap.get());
        bitmap.release();
    }
    ownSequence_ = ::GetClipboardSequenceNumber();
}

bool WinClipboard::Holds(ClipboardFormat format) {
    const UINT id = FormatId(format);
    return id != 0 && ::IsClipboardFormatAvailable(id) != FALSE;
}

bool WinClipboard::HoldsOwnCopy() {
    DWORD ownerProcess = 0;
    if (HWND owner = ::GetClipboardOwner()) ::GetWindowThreadProcessId(owner, &ownerProcess);
    if (ownerProcess == ::GetCurrentProcessId()) return true;
    return ownSequence_ != 0 && ::GetClipboardSequenceNumber() == ownSequence_;
}

std::optional<std::vector<std::uint8_t>> WinClipboard::GetData(ClipboardFormat format, std::size_t maxBytes) {
    OpenClipboardScope clipboard(owner_);
    if (!clipboard) throw std::runtime_error("The clipboard could not be opened");
    // The clipboard keeps the block; its bytes are copied out while it is open.
    HGLOBAL block = ::GetClipboardData(FormatId(format));
    if (!block) return std::nullopt;
    const SIZE_T size = ::GlobalSize(block);
    if (size > maxBytes) throw EInvalidGraphic("The clipboard's picture is too large");
    GlobalLockGuard<const std::uint8_t> locked(block);
    if (!locked.get()) return std::nullopt;
    return std::vector<std::uint8_t>(locked.get(), locked.get() + size);
}

std::optional<Bitmap> WinClipboard::GetBitmap() {
    OpenClipboardScope clipboard(owner_);
    if (!clipboard) throw std::runtime_error("The clipboard could not be opened");
    HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    if (!bitmap) return std::nullopt;
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    return BitmapFromHbitmap(bitmap, info.bmBitsPixel == 32 ? 32 : 24);
}

std::vector<std::string> WinClipboard::DroppedFiles() {
    OpenClipboardScope clipboard(owner_);
    if (!clipboard) return {};
    HDROP drop = static_cast<HDROP>(::GetClipboardData(CF_HDROP));
    if (!drop) return {};
    std::vector<std::string> files;
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::string name(::DragQueryFileA(drop, i, nullptr, 0), '\0');
        if (name.empty()) continue;
        const UINT n = ::DragQueryFileA(drop, i, name.data(), UINT(name.size() + 1));
        name.resize(n);
        files.push_back(std::move(name));
    }
    return files;
}

}  // namespace vimbrel::win32
