#include "workspace/png_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>


#include <png.h>

#include "util/errors.h"
#include "workspace/image_errors.h"
#include "workspace/png_deflate_writer.h"

namespace vimbrel {
namespace {



// libpng reports failures through an error function that must not return. We jump back to
// the frame that called the library (no C++ objects live in the frames in between) and
// throw from there.
struct Failure {
    std::jmp_buf jump{};
    char message[128] = {};
};

extern "C" void PngJumpOnError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<Failure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message ? message : "");
    std::longjmp(failure->jump, 1);
}

// Warnings (a damaged text chunk, a doubtful colour profile) change nothing we read.
extern "C" void PngIgnoreWarning(png_structp, png_const_charp) {}

struct Decoder {
    // libpng reads through a pointer to this: it stays in its unique_ptr.
    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    Failure failure;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::span<const std::uint8_t> file;
    std::size_t at = 0;
    ~Decoder() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

extern "C" void PngReadFromFile(png_structp png, png_bytep out, std::size_t count) {
    auto* d = static_cast<Decoder*>(png_get_io_ptr(png));
    if (count > d->file.size() - d->at) png_error(png, "data cut short");
    std::memcpy(out, d->file.data() + d->at, count);
    d->at += count;
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// What the chunks before the picture's data say, read here since libpng passes over chunks
// of its own kind.
struct ChunkSurvey {
    // Bytes of compressed picture data the file holds: the IDAT chunks' lengths, each
    // counted only as far as the file goes.
    std::uint64_t compressed = 0;
    // The program's writer marks a palette that stands for a picture of more bits.
    bool trueColourPalette = false;
};

ChunkSurvey SurveyChunks(std::span<const std::uint8_t> f) {
    ChunkSurvey survey;
    std::size_t i = kPngSignatureSize;
    while (f.size() >= 8 && i <= f.size() - 8) {
        const std::uint64_t length = BigEndian32(&f[i]);
        const bool idat = std::memcmp(&f[i + 4], "IDAT", 4) == 0;
        const bool iend = std::memcmp(&f[i + 4], "IEND", 4) == 0;
        const bool marker = std::memcmp(&f[i + 4], kPngTrueColourChunk, 4) == 0;
        i += 8;
        const std::uint64_t present = std::min<std::uint64_t>(length, f.size() - i);
        if (idat) survey.compressed += present;
        if (marker && survey.compressed == 0 && length == 1 && present == 1) survey.trueColourPalette = f[i] == 24;
        if (iend || present < length) break;
        i += std::size_t(length);
        i += std::min<std::size_t>(4, f.size() - i);  // the CRC
    }
    return survey;
}

// Everything the library touches lives in *d, so nothing here is clobbered by the jump.
// The signature has been checked.
void StartDecoder(Decoder& d) {
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d.failure, PngJumpOnError, PngIgnoreWarning);
    if (!d.png) throw EInvalidGraphic("PNG: the library could not start");
    d.info = png_create_info_struct(d.png);
    if (!d.info) png_error(d.png, "out of memory");
    png_set_read_fn(d.png, &d, PngReadFromFile);
    png_set_user_limits(d.png, Bitmap::kMaxSide, Bitmap::kMaxSide);
    // Only the chunks that make the picture: IHDR, PLTE, tRNS, IDAT and IEND.
    png_set_keep_unknown_chunks(d.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(d.png, d.info);
}

void CheckSignature(std::span<const std::uint8_t> file) {
    if (file.size() < kPngSignatureSize || png_sig_cmp(file.data(), 0, kPngSignatureSize) != 0)
        throw EInvalidGraphic("PNG: not a PNG file");
}

// The depth of the picture a file reads into, with the library's conversions to give it.
int SetUpConversions(png_structp png, png_infop info, bool trueColourPalette) {
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (bitDepth == 16) png_set_scale_16(png);
    int bpp;
    if ((colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_expand(png);  // palette to colour, low grey depths to 8, tRNS to alpha
        png_set_gray_to_rgb(png);
        bpp = 32;
    } else if (colourType == PNG_COLOR_TYPE_PALETTE && trueColourPalette) {
        png_set_palette_to_rgb(png);
        bpp = 24;
    } else if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);  // one index per byte
        bpp = 8;
    } else if (colourType == PNG_COLOR_TYPE_GRAY) {
        png_set_expand_gray_1_2_4_to_8(png);
        bpp = 8;
    } else {
        bpp = 24;
    }
    if (bpp > 8) png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return bpp;
}

void FillColourTable(png_structp png, png_infop info, Bitmap& out) {
    std::vector<RgbQuad>& table = out.Palette();
    if (png_get_color_type(png, info) != PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < 256; ++i) table[std::size_t(i)] = RgbQuad{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
        return;
    }
    png_colorp colours = nullptr;
    int count = 0;
    if (!png_get_PLTE(png, info, &colours, &count)) png_error(png, "colour table missing");
    table.assign(std::size_t(std::clamp(count, 0, 256)), RgbQuad{});
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = RgbQuad{colours[i].blue, colours[i].green, colours[i].red, 0};
}

// An opaque picture keeps 0 in the fourth byte, the form screen captures and GDI give.
void ClearOpaqueAlpha(Bitmap& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x)
            if (row[4 * x + 3] != 255) return;
    }
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x) row[4 * x + 3] = 0;
    }
}

}  // namespace

Size ReadPngSize(std::span<const std::uint8_t> file) {
    CheckSignature(file);
    auto d = std::make_unique<Decoder>();
    d->file = file;
    if (setjmp(d->failure.jump)) throw EInvalidGraphic(std::string("PNG: ") + d->failure.message);
    StartDecoder(*d);
    return Size{int(png_get_image_width(d->png, d->info)), int(png_get_image_height(d->png, d->info))};
}

namespace {

// Everything the library touches lives in *d, *out and *rows, so nothing here is clobbered
// by the jump.
void Decode(Decoder& d, const ChunkSurvey& survey, Bitmap& out, std::vector<png_bytep>& rows) {
    if (setjmp(d.failure.jump)) throw EInvalidGraphic(std::string("PNG: ") + d.failure.message);
    StartDecoder(d);
    png_structp png = d.png;
    png_infop info = d.info;

    const std::uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const std::uint64_t fileBits = std::uint64_t(png_get_bit_depth(png, info)) * png_get_channels(png, info);
    if (std::uint64_t(width) * height * fileBits / 8 > survey.compressed * kMaxDeflateRatio)
        throw EInvalidGraphic("PNG: data too short for the picture");
    const int bpp = SetUpConversions(png, info, survey.trueColourPalette);
    if (!Bitmap::SizeAllowed(int(width), int(height), bpp)) throw EInvalidGraphic("PNG: picture too large");
    if (png_get_rowbytes(png, info) != std::size_t(width) * std::size_t(bpp / 8))
        throw EInvalidGraphic("PNG: unexpected row layout");
    try {
        out = Bitmap(int(width), int(height), bpp);
        rows.resize(height);
    } catch (const EImageTooLarge& e) {
        throw EInvalidGraphic(e.what());
    } catch (const std::bad_alloc&) {
        throw EInvalidGraphic("PNG: not enough memory for the picture");
    }
    if (bpp == 8) FillColourTable(png, info, out);
    for (std::uint32_t y = 0; y < height; ++y) rows[y] = out.Row(int(y));
    png_read_image(png, rows.data());
    if (bpp == 32) ClearOpaqueAlpha(out);
}

}  // namespace

Bitmap DecodePng(std::span<const std::uint8_t> file) {
    CheckSignature(file);
    auto d = std::make_unique<Decoder>();
    auto out = std::make_unique<Bitmap>();
    auto rows = std::make_unique<std::vector<png_bytep>>();
    d->file = file;
    Decode(*d, SurveyChunks(file), *out, *rows);
    return std::move(*out);
}

namespace {

struct Encoder {
    // libpng writes through a pointer to this and jumps to failure: kept in place.
    Encoder() = default;
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    Failure failure;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<std::uint8_t> data;
    ~Encoder() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

extern "C" void PngWriteToBuffer(png_structp png, png_bytep bytes, std::size_t count) {
    auto* e = static_cast<Encoder*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        e->data.insert(e->data.end(), bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored) png_error(png, "out of memory");
}

extern "C" void PngFlushBuffer(png_structp) {}

// Entries up to the highest index a pixel uses; those past the picture's table are black.
std::vector<png_color> ColourTableFor(const Bitmap& picture) {
    int highest = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.Row(y);
        highest = std::max<int>(highest, *std::max_element(row, row + picture.Width()));
    }
    const std::vector<RgbQuad>& table = picture.Palette();
    std::vector<png_color> colours(std::max<std::size_t>(table.size(), std::size_t(highest) + 1), png_color{0, 0, 0});
    colours.resize(std::min<std::size_t>(colours.size(), 256));
    for (std::size_t i = 0; i < std::min(table.size(), colours.size()); ++i)
        colours[i] = png_color{table[i].red, table[i].green, table[i].blue};
    return colours;
}

// Everything the library touches lives in *e, so nothing here is clobbered by the jump.
// zeroAlpha: a 32-bit picture's fourth bytes are all 0, the unused byte of a capture, and
// go out as 255.
void Compress(Encoder& e, const Bitmap& source, const std::vector<png_color>& colours, bool zeroAlpha,
              const PngWriteOptions& options) {
    if (setjmp(e.failure.jump)) throw EInOutError(std::string("PNG: ") + e.failure.message);
    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e.failure, PngJumpOnError, PngIgnoreWarning);
    if (!e.png) throw EInOutError("PNG: the library could not start");
    e.info = png_create_info_struct(e.png);
    if (!e.info) png_error(e.png, "out of memory");
    png_set_write_fn(e.png, &e, PngWriteToBuffer, PngFlushBuffer);
    png_set_compression_level(e.png, std::clamp(options.compressionLevel, 0, 9));
    // Unfiltered rows keep a flat screen's long runs for zlib, which then finds them at
    // once; the filters pay off where neighbouring colours differ a little.
    const PngRowFilter filter = options.filter.value_or(PngRowFilter::PerRow);
    if (filter != PngRowFilter::PerRow)
        png_set_filter(e.png, PNG_FILTER_TYPE_BASE, filter == PngRowFilter::Up ? PNG_FILTER_UP : PNG_FILTER_NONE);
    const int bpp = source.BitsPerPixel();
    const int colourType = bpp == 8 ? PNG_COLOR_TYPE_PALETTE : bpp == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA;
    png_set_IHDR(e.png, e.info, png_uint_32(source.Width()), png_uint_32(source.Height()), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (bpp == 8) png_set_PLTE(e.png, e.info, colours.data(), int(colours.size()));
    png_write_info(e.png, e.info);
    if (bpp > 8) png_set_bgr(e.png);
    if (zeroAlpha) png_set_invert_alpha(e.png);
    for (int y = 0; y < source.Height(); ++y) png_write_row(e.png, source.Row(y));
    png_write_end(e.png, nullptr);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Bitmap& picture, PngWriteOptions options) {
    if (picture.Empty()) throw EInOutError("PNG: a picture without pixels cannot be written");
    const std::vector<png_color> colours = picture.BitsPerPixel() == 8 ? ColourTableFor(picture) : std::vector<png_color>{};
    const FourthBytes fourth = picture.BitsPerPixel() == 32 ? FourthBytesOf(picture) : FourthBytes::Alpha;
    const bool opaque = fourth != FourthBytes::Alpha;
    const std::size_t rowsSize = (std::size_t(picture.Width()) * std::size_t(picture.BitsPerPixel() / 8) + 1) *
                                 std::size_t(picture.Height());
    if (options.coder == PngCoder::Libdeflate && rowsSize <= kPngWholeBufferLimit) {
        try {
            return DeflatePngFile(picture, colours, opaque, options);
        } catch (const std::bad_alloc&) {
            throw EInOutError("PNG: not enough memory for the picture");
        }
    }
    if (options.coder == PngCoder::Libdeflate) options.compressionLevel = kPngZlibCompressionLevel;
    if (!options.filter) options.filter = ChosenFilter(picture);
    auto e = std::make_unique<Encoder>();
    e->data.reserve(std::size_t(picture.Width()) * std::size_t(picture.Height()) / 4 + 1024);
    Compress(*e, picture, colours, fourth == FourthBytes::AllZero, options);
    return std::move(e->data);
}

}  // namespace vimbrel
