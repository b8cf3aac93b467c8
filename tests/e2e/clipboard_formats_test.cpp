// The clipboard's picture formats between the program and another program: a picture
// put there as CF_DIBV5, as PNG or as a copied file (with a name in no legacy code page)
// is pasted, Copy hands it on as PNG and CF_DIB beside CF_BITMAP, and damaged data is
// reported and leaves the picture as it was.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "test_pictures.h"
#include "vimbrel_process.h"
#include "workspace/bmp_file.h"
#include "workspace/image_file.h"
#include "workspace/png_file.h"

namespace e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;
using vimbrel::Bitmap;
using vimbrel::testing::Pattern;
using vimbrel::testing::SamePixels;

constexpr const char* kAppTitle = "  Vimbrel   ";

UINT PngFormat() { return ::RegisterClipboardFormatA("PNG"); }

// Replaces the clipboard's contents with these items, as another program would.
void PutItems(std::initializer_list<std::pair<UINT, Bytes>> items) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    for (const auto& [format, bytes] : items) {
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
        ::GlobalUnlock(block);
        ::SetClipboardData(format, block);
    }
    ::CloseClipboard();
}

// The clipboard's items in these formats, read while it is open once, as a program that
// pastes reads them; nothing when another window holds the clipboard open.
std::optional<std::vector<std::optional<Bytes>>> ClipboardItems(std::initializer_list<UINT> formats) {
    if (!::OpenClipboard(nullptr)) return std::nullopt;
    std::vector<std::optional<Bytes>> items;
    for (UINT format : formats) {
        std::optional<Bytes>& bytes = items.emplace_back();
        if (HGLOBAL block = ::GetClipboardData(format)) {
            const auto* p = static_cast<const std::uint8_t*>(::GlobalLock(block));
            if (p) bytes = Bytes(p, p + ::GlobalSize(block));
            ::GlobalUnlock(block);
        }
    }
    ::CloseClipboard();
    return items;
}

void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// A 32-bit CF_DIBV5 with an alpha channel, opaque, as image programs put one there.
Bytes V5Dib(const Bitmap& picture) {
    BITMAPV5HEADER h{};
    h.bV5Size = sizeof h;
    h.bV5Width = picture.Width();
    h.bV5Height = picture.Height();
    h.bV5Planes = 1;
    h.bV5BitCount = 32;
    h.bV5Compression = BI_BITFIELDS;
    h.bV5RedMask = 0x00FF0000;
    h.bV5GreenMask = 0x0000FF00;
    h.bV5BlueMask = 0x000000FF;
    h.bV5AlphaMask = 0xFF000000;
    h.bV5CSType = 0x73524742;  // LCS_sRGB
    h.bV5Intent = LCS_GM_IMAGES;
    Bytes b(sizeof h);
    std::memcpy(b.data(), &h, sizeof h);
    for (int y = picture.Height() - 1; y >= 0; --y)
        for (int x = 0; x < picture.Width(); ++x) {
            const vimbrel::RgbQuad c = picture.PixelColour(x, y);
            Put32(b, 0xFF000000u | (std::uint32_t(c.red) << 16) | (std::uint32_t(c.green) << 8) | c.blue);
        }
    return b;
}

// CF_HDROP of one file, as a file manager's Copy leaves it (the name in UTF-16).
Bytes FileDrop(const std::string& path) {
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(std::size_t(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), n);
    wide.push_back(L'\0');  // the list ends with an empty name
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    Bytes b(sizeof header + wide.size() * sizeof(wchar_t));
    std::memcpy(b.data(), &header, sizeof header);
    std::memcpy(b.data() + sizeof header, wide.data(), wide.size() * sizeof(wchar_t));
    return b;
}

// Copy in the program, then the picture as another program reads it in each format.
struct Copied {
    std::optional<Bitmap> png, dib;
    bool bitmap = false;
    std::string missing;  // what went wrong, for the failure's message
};
Copied CopyAndRead(VimbrelProcess& app) {
    Copied copied;
    // Emptied for certain: the program may still hold the clipboard open from the paste, and
    // a picture left from before would pass for the copy.
    const bool emptied = WaitFor([] {
        if (!::OpenClipboard(nullptr)) return false;
        ::EmptyClipboard();
        ::CloseClipboard();
        return true;
    });
    if (!emptied) {
        copied.missing = "the clipboard could not be emptied";
        return copied;
    }
    if (!WaitFor([&] { return app.PostMenuCommand("&Copy to Clipboard"); })) {
        copied.missing = "no Copy to Clipboard command";
        return copied;
    }
    // Both formats from one opening, as a pasting program reads them: the copy puts them
    // there together, while another window may hold the clipboard for a moment.
    std::optional<std::vector<std::optional<Bytes>>> items;
    const bool both = WaitFor([&] {
        items = ClipboardItems({PngFormat(), CF_DIB});
        return items && (*items)[0] && (*items)[1];
    });
    if (!items || !(*items)[0]) {
        copied.missing = "no PNG on the clipboard after Copy";
        return copied;
    }
    copied.png = vimbrel::DecodePng(*(*items)[0]);
    if (!both) {
        copied.missing = "PNG but no CF_DIB on the clipboard after Copy";
        return copied;
    }
    copied.dib = vimbrel::DecodeDib(*(*items)[1]);
    copied.bitmap = ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE;
    return copied;
}

// Pastes what is on the clipboard and waits until the picture is up: the window is sent to
// the tray first, and PopUp brings it back.
bool PasteAndWait(VimbrelProcess& app) {
    ::PostMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) == FALSE; })) return false;
    return app.PostMenuCommand("&Paste from Clipboard") &&
           WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; });
}

TEST(ClipboardFormatsTest, PicturesFromOtherProgramsInEveryFormatPasteAndCopyHandsThemOnAsPngAndDib) {
    ClearSettings();
    WriteSetting("CheckClose", "N");
    WriteSetting("PopUp", "1");
    VimbrelProcess app("clip-formats");
    ASSERT_TRUE(app.Start());

    const Bitmap fromDibV5 = Pattern(64, 48, 24);
    PutItems({{CF_DIBV5, V5Dib(fromDibV5)}});
    ASSERT_TRUE(PasteAndWait(app));
    Copied copied = CopyAndRead(app);
    ASSERT_TRUE(copied.png && copied.dib) << copied.missing;
    EXPECT_TRUE(SamePixels(*copied.png, fromDibV5));
    EXPECT_TRUE(SamePixels(*copied.dib, fromDibV5));
    EXPECT_EQ(copied.dib->BitsPerPixel(), 24);
    EXPECT_TRUE(copied.bitmap) << "and CF_BITMAP for older programs";

    const Bitmap fromPng = Pattern(30, 20, 24);
    PutItems({{PngFormat(), vimbrel::EncodePng(fromPng)}});
    ASSERT_TRUE(PasteAndWait(app));
    copied = CopyAndRead(app);
    ASSERT_TRUE(copied.dib) << copied.missing;
    EXPECT_TRUE(SamePixels(*copied.dib, fromPng));

    const Bitmap fromFile = Pattern(20, 10, 24);
    const std::string file = app.Folder() + "Gr\xC3\xB6\xC3\x9F" "e-\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.png";
    vimbrel::WriteImageFile(fromFile, file);
    PutItems({{CF_HDROP, FileDrop(file)}});
    ASSERT_TRUE(PasteAndWait(app));
    copied = CopyAndRead(app);
    ASSERT_TRUE(copied.dib) << copied.missing;
    EXPECT_TRUE(SamePixels(*copied.dib, fromFile)) << "the copied file's picture";

    // Damaged data: the program says so and the picture stays.
    Bytes damaged = vimbrel::EncodeDib(Pattern(40, 40, 24));
    damaged.resize(damaged.size() / 3);
    PutItems({{CF_DIB, damaged}});
    ASSERT_TRUE(app.PostMenuCommand("&Paste from Clipboard"));
    EXPECT_TRUE(AnswerMessageBox(app.ProcessId(), kAppTitle, "Unable to read or decrypt the image"));
    copied = CopyAndRead(app);
    ASSERT_TRUE(copied.dib) << copied.missing;
    EXPECT_TRUE(SamePixels(*copied.dib, fromFile)) << "the picture before the damaged paste";
    EXPECT_TRUE(app.Exit());
}

TEST(ClipboardFormatsTest, AWatchedClipboardWithADamagedPictureIsReportedAndNothingIsPasted) {
    ClearSettings();
    WriteSetting("CheckClose", "N");
    WriteSetting("WatchClips", "1");
    WriteSetting("AutoSave", "On");
    VimbrelProcess app("clip-watch-damaged");
    WriteSetting("AutoSavePath", app.Folder().substr(0, app.Folder().size() - 1));
    ASSERT_TRUE(app.Start());
    Bytes damaged = vimbrel::EncodeDib(Pattern(40, 40, 24));
    damaged.resize(damaged.size() / 3);
    PutItems({{CF_DIB, damaged}});  // returns while the program's message is up
    EXPECT_TRUE(AnswerMessageBox(app.ProcessId(), kAppTitle, "Unable to read or decrypt the image"));
    WaitFor([] { return false; }, 500ms);
    EXPECT_EQ(::GetFileAttributesA((app.Folder() + "Vimbrel-00001.bmp").c_str()), INVALID_FILE_ATTRIBUTES)
        << "nothing was pasted, so nothing saved";
    EXPECT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e
