#include "workspace/png_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include <libdeflate.h>
#include <png.h>

#include "util/errors.h"
#include "workspace/image_errors.h"

namespace vimbrel {
namespace {

constexpr std::size_t kSignatureSize = 8;

// Pictures with more pixels like their left neighbour than this are flat (windows of text)
// and written unfiltered: on a real text capture that is a quarter smaller than rows less
// the row above (Up), and half the time of a filter chosen per row (bench/png_vs_bmp_jpeg.sh).
constexpr double kFlatShare = 0.8;

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

// Bytes of compressed picture data the file holds: the IDAT chunks' lengths, each counted
// only as far as the file goes.
std::uint64_t CompressedDataSize(std::span<const std::uint8_t> f) {
    std::uint64_t total = 0;
    std::size_t i = kSignatureSize;
    while (f.size() >= 8 && i <= f.size() - 8) {
        const std::uint64_t length = BigEndian32(&f[i]);
        const bool idat = std::memcmp(&f[i + 4], "IDAT", 4) == 0;
        const bool iend = std::memcmp(&f[i + 4], "IEND", 4) == 0;
        i += 8;
        const std::uint64_t present = std::min<std::uint64_t>(length, f.size() - i);
        if (idat) total += present;
        if (iend || present < length) break;
        i += std::size_t(length);
        i += std::min<std::size_t>(4, f.size() - i);  // the CRC
    }
    return total;
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
    if (file.size() < kSignatureSize || png_sig_cmp(file.data(), 0, kSignatureSize) != 0)
        throw EInvalidGraphic("PNG: not a PNG file");
}

// The depth of the picture a file reads into, with the library's conversions to give it.
int SetUpConversions(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (bitDepth == 16) png_set_scale_16(png);
    int bpp;
    if ((colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_expand(png);  // palette to colour, low grey depths to 8, tRNS to alpha
        png_set_gray_to_rgb(png);
        bpp = 32;
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
void Decode(Decoder& d, std::uint64_t compressed, Bitmap& out, std::vector<png_bytep>& rows) {
    if (setjmp(d.failure.jump)) throw EInvalidGraphic(std::string("PNG: ") + d.failure.message);
    StartDecoder(d);
    png_structp png = d.png;
    png_infop info = d.info;

    const std::uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const std::uint64_t fileBits = std::uint64_t(png_get_bit_depth(png, info)) * png_get_channels(png, info);
    if (std::uint64_t(width) * height * fileBits / 8 > compressed * kMaxDeflateRatio)
        throw EInvalidGraphic("PNG: data too short for the picture");
    const int bpp = SetUpConversions(png, info);
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
    Decode(*d, CompressedDataSize(file), *out, *rows);
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

bool FourthBytesAllZero(const Bitmap& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x)
            if (row[4 * x + 3] != 0) return false;
    }
    return true;
}

// Share of pixels with the colour of their left neighbour: above 0.9 for windows of text on
// a flat desktop, about 0.35 for a screen that is partly photograph, 0 for a photograph.
// (Pixels are compared whole, a 32-bit one with its fourth byte.)
double RepeatedShare(const Bitmap& picture) {
    const int pixel = picture.BitsPerPixel() / 8;
    std::uint64_t repeated = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.Row(y);
        std::uint32_t count = 0;
        if (pixel == 4) {
            for (int x = 1; x < picture.Width(); ++x) {
                std::uint32_t left, here;
                std::memcpy(&left, row + 4 * (x - 1), 4);
                std::memcpy(&here, row + 4 * x, 4);
                count += left == here;
            }
        } else {
            for (int x = 1; x < picture.Width(); ++x) {
                const std::uint8_t* p = row + pixel * x;
                count += p[0] == p[-pixel] && (pixel < 2 || p[1] == p[1 - pixel]) && (pixel < 3 || p[2] == p[2 - pixel]);
            }
        }
        repeated += count;
    }
    return double(repeated) / (double(picture.Width()) * double(picture.Height()));
}

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
void Compress(Encoder& e, const Bitmap& source, const std::vector<png_color>& colours, bool opaque,
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
    if (opaque) png_set_invert_alpha(e.png);  // the 0s go out as 255
    for (int y = 0; y < source.Height(); ++y) png_write_row(e.png, source.Row(y));
    png_write_end(e.png, nullptr);
}

// ---- the whole-picture writer over libdeflate ----

// Largest IDAT chunk written; any size up to 2^31 - 1 is valid, smaller ones keep every
// reader's buffers small.
constexpr std::size_t kIdatChunk = std::size_t(1) << 20;
// Pictures whose filtered rows take more than this go through the streaming writer
// (libpng and zlib), which never holds the picture a second time.
constexpr std::size_t kWholeBufferLimit = std::size_t(512) << 20;
// The filtered rows' buffer is kept for the next picture up to this size (a 3840 x 2160
// capture's).
constexpr std::size_t kKeptScratch = std::size_t(3840 * 4 + 1) * 2160;

void PutBig32(std::uint8_t* at, std::uint32_t v) {
    at[0] = std::uint8_t(v >> 24);
    at[1] = std::uint8_t(v >> 16);
    at[2] = std::uint8_t(v >> 8);
    at[3] = std::uint8_t(v);
}

// Writes one chunk at `at` and moves past it: length, type, data, CRC of type and data.
void PutChunk(std::uint8_t*& at, const char* type, const std::uint8_t* data, std::size_t size) {
    PutBig32(at, std::uint32_t(size));
    std::memcpy(at + 4, type, 4);
    if (size) std::memcpy(at + 8, data, size);
    PutBig32(at + 8 + size, libdeflate_crc32(0, at + 4, size + 4));
    at += 12 + size;
}

// Four 32-bit pixels, or sixteen bytes, in one vector register (GCC's and Clang's vector
// extension: plain SSE2 on x64).
typedef std::uint32_t Lanes __attribute__((vector_size(16)));
typedef std::uint8_t ByteLanes __attribute__((vector_size(16)));

// A pixel's blue, green and red as the little-endian number of its red, green and blue.
inline std::uint32_t Rgb(std::uint32_t bgrx) { return ((bgrx & 0xFFu) << 16) | (bgrx & 0xFF00u) | ((bgrx >> 16) & 0xFFu); }

// One row in the file's byte order, from the picture's: an 8-bit row as it is; 24 bits and
// a 32-bit picture written opaque (channels 3) as red, green, blue from blue, green, red
// (and the unused fourth byte); other 32-bit pictures (channels 4) as red, green, blue,
// alpha with the fourth byte as alpha.
void FileOrderRow(const std::uint8_t* source, std::uint8_t* out, int width, int bpp, int channels) {
    int x = 0;
    if (bpp == 8) {
        std::memcpy(out, source, std::size_t(width));
    } else if (bpp == 24) {
        for (; x < width; ++x, source += 3, out += 3) {
            out[0] = source[2];
            out[1] = source[1];
            out[2] = source[0];
        }
    } else if (channels == 4) {
        // Swap the low and the third byte of each, four pixels at a time.
        for (; x + 4 <= width; x += 4) {
            Lanes v;
            std::memcpy(&v, source + 4 * x, sizeof v);
            v = (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu);
            std::memcpy(out + 4 * x, &v, sizeof v);
        }
        for (; x < width; ++x) {
            std::uint32_t v;
            std::memcpy(&v, source + 4 * x, 4);
            v = Rgb(v) | (v & 0xFF000000u);
            std::memcpy(out + 4 * x, &v, 4);
        }
    } else {
        // Four pixels into twelve bytes.
        for (; x + 4 <= width; x += 4, source += 16, out += 12) {
            std::uint32_t p[4];
            std::memcpy(p, source, 16);
            const std::uint64_t low = std::uint64_t(Rgb(p[0])) | (std::uint64_t(Rgb(p[1])) << 24) | (std::uint64_t(Rgb(p[2])) << 48);
            const std::uint32_t high = (Rgb(p[2]) >> 16) | (Rgb(p[3]) << 8);
            std::memcpy(out, &low, 8);
            std::memcpy(out + 8, &high, 4);
        }
        for (; x < width; ++x, source += 4, out += 3) {
            out[0] = source[2];
            out[1] = source[1];
            out[2] = source[0];
        }
    }
}

int PaethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The filtered bytes of one row by filter type t (0 none, 1 sub, 2 up, 3 average, 4 paeth),
// with n bytes a pixel; prev is the row above (zeros above the first).
void FilterRow(int t, const std::uint8_t* row, const std::uint8_t* prev, std::size_t size, std::size_t n, std::uint8_t* out) {
    switch (t) {
    case 0: std::memcpy(out, row, size); return;
    case 1:
        for (std::size_t i = 0; i < size; ++i) out[i] = std::uint8_t(row[i] - (i >= n ? row[i - n] : 0));
        return;
    case 2:
        for (std::size_t i = 0; i < size; ++i) out[i] = std::uint8_t(row[i] - prev[i]);
        return;
    case 3:
        for (std::size_t i = 0; i < size; ++i) out[i] = std::uint8_t(row[i] - ((i >= n ? row[i - n] : 0) + prev[i]) / 2);
        return;
    default:
        for (std::size_t i = 0; i < size; ++i)
            out[i] = std::uint8_t(row[i] - (i >= n ? PaethPredictor(row[i - n], prev[i], prev[i - n]) : prev[i]));
        return;
    }
}

// Sum of the filtered bytes taken as signed, libpng's measure of how well a row will pack.
std::uint64_t SignedSum(const std::uint8_t* bytes, std::size_t size) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += bytes[i] < 128 ? bytes[i] : 256 - bytes[i];
    return sum;
}

// The rows as the IDAT stream holds them before deflate: each its filter type, then its
// filtered bytes.
using Bytes = std::vector<std::uint8_t, UnfilledAllocator<std::uint8_t>>;

// The filtered rows go into scratch, a buffer the caller keeps between pictures: a fresh
// one costs a page fault every 4 KiB, a good part of a screenful's write.
void FilterRows(const Bitmap& picture, int channels, PngRowFilter filter, Bytes& scratch) {
    const int bpp = picture.BitsPerPixel(), width = picture.Width();
    const std::size_t n = std::size_t(channels), size = std::size_t(width) * n;
    Bytes& out = scratch;
    out.resize((size + 1) * std::size_t(picture.Height()));
    const auto line = [&](int y) { return out.data() + std::size_t(y) * (size + 1); };
    if (filter == PngRowFilter::None) {
        for (int y = 0; y < picture.Height(); ++y) {
            line(y)[0] = 0;
            FileOrderRow(picture.Row(y), line(y) + 1, width, bpp, channels);
        }
        return;
    }
    if (filter == PngRowFilter::Up) {
        // Up commutes with the reordering of a pixel's bytes: the picture's rows are
        // subtracted as they are, sixteen bytes at a time, then reordered.
        const std::size_t stride = std::size_t(width) * std::size_t(bpp / 8);
        Bytes difference(stride);
        line(0)[0] = 2;
        FileOrderRow(picture.Row(0), line(0) + 1, width, bpp, channels);
        for (int y = 1; y < picture.Height(); ++y) {
            const std::uint8_t* above = picture.Row(y - 1);
            const std::uint8_t* row = picture.Row(y);
            std::size_t i = 0;
            for (; i + 16 <= stride; i += 16) {
                ByteLanes a, b;
                std::memcpy(&a, row + i, 16);
                std::memcpy(&b, above + i, 16);
                a -= b;
                std::memcpy(difference.data() + i, &a, 16);
            }
            for (; i < stride; ++i) difference[i] = std::uint8_t(row[i] - above[i]);
            line(y)[0] = 2;
            FileOrderRow(difference.data(), line(y) + 1, width, bpp, channels);
        }
        return;
    }
    Bytes rows(2 * size), trial(size);
    std::uint8_t* row = rows.data();
    std::uint8_t* prev = rows.data() + size;
    std::fill(prev, prev + size, std::uint8_t(0));
    for (int y = 0; y < picture.Height(); ++y) {
        FileOrderRow(picture.Row(y), row, width, bpp, channels);
        int best = 0;
        std::uint64_t bestSum = SignedSum(row, size);
        for (int t = 1; t < 5; ++t) {
            FilterRow(t, row, prev, size, n, trial.data());
            const std::uint64_t sum = SignedSum(trial.data(), size);
            if (sum < bestSum) {
                bestSum = sum;
                best = t;
                std::memcpy(line(y) + 1, trial.data(), size);
            }
        }
        line(y)[0] = std::uint8_t(best);
        if (best == 0) std::memcpy(line(y) + 1, row, size);
        std::swap(row, prev);
    }
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// A 32-bit picture written opaque goes out as red, green and blue: a quarter less for
// deflate to read, and nothing lost.
std::vector<std::uint8_t> WholePictureFile(const Bitmap& picture, const std::vector<png_color>& colours, bool opaque,
                                           const PngWriteOptions& options) {
    const int bpp = picture.BitsPerPixel();
    const int channels = bpp == 8 ? 1 : bpp == 24 || opaque ? 3 : 4;
    // Kept for the next picture of this thread, unless it is larger than a big screen's.
    thread_local Bytes scratch;
    struct Trim {
        Bytes& kept;
        ~Trim() {
            if (kept.capacity() > kKeptScratch) Bytes().swap(kept);
        }
    } trim{scratch};
    FilterRows(picture, channels, *options.filter, scratch);
    const Bytes& rows = scratch;
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(std::clamp(options.compressionLevel, 1, 12)));
    if (!compressor) throw EInOutError("PNG: not enough memory for the compressor");
    Bytes data(libdeflate_zlib_compress_bound(compressor.get(), rows.size()));
    const std::size_t packed = libdeflate_zlib_compress(compressor.get(), rows.data(), rows.size(), data.data(), data.size());
    if (packed == 0) throw EInOutError("PNG: the compressed data did not fit");

    std::vector<std::uint8_t> table;
    for (const png_color& c : colours) table.insert(table.end(), {c.red, c.green, c.blue});
    const std::size_t chunks = (packed + kIdatChunk - 1) / kIdatChunk;
    std::vector<std::uint8_t> out(kSignatureSize + 25 + (table.empty() ? 0 : 12 + table.size()) + packed + 12 * chunks + 12);
    std::uint8_t* at = out.data();
    const std::uint8_t signature[kSignatureSize] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::memcpy(at, signature, kSignatureSize);
    at += kSignatureSize;
    std::uint8_t header[13] = {};
    PutBig32(header, std::uint32_t(picture.Width()));
    PutBig32(header + 4, std::uint32_t(picture.Height()));
    header[8] = 8;  // bits a sample
    header[9] = std::uint8_t(channels == 1 ? PNG_COLOR_TYPE_PALETTE : channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA);
    // compression, filter method and interlace: 0
    PutChunk(at, "IHDR", header, sizeof header);
    if (!table.empty()) PutChunk(at, "PLTE", table.data(), table.size());
    for (std::size_t from = 0; from < packed; from += kIdatChunk)
        PutChunk(at, "IDAT", data.data() + from, std::min(kIdatChunk, packed - from));
    PutChunk(at, "IEND", nullptr, 0);
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Bitmap& picture, PngWriteOptions options) {
    if (picture.Empty()) throw EInOutError("PNG: a picture without pixels cannot be written");
    const std::vector<png_color> colours = picture.BitsPerPixel() == 8 ? ColourTableFor(picture) : std::vector<png_color>{};
    const bool opaque = picture.BitsPerPixel() == 32 && FourthBytesAllZero(picture);
    if (!options.filter.has_value()) {
        const bool flat = picture.BitsPerPixel() > 8 && RepeatedShare(picture) >= kFlatShare;
        // Palette indices are no sample values: their differences mean nothing to deflate.
        options.filter = picture.BitsPerPixel() == 8 || flat ? PngRowFilter::None : PngRowFilter::PerRow;
    }
    const std::size_t rowsSize = (std::size_t(picture.Width()) * std::size_t(picture.BitsPerPixel() / 8) + 1) *
                                 std::size_t(picture.Height());
    if (options.coder == PngCoder::Libdeflate && rowsSize <= kWholeBufferLimit) {
        try {
            return WholePictureFile(picture, colours, opaque, options);
        } catch (const std::bad_alloc&) {
            throw EInOutError("PNG: not enough memory for the picture");
        }
    }
    if (options.coder == PngCoder::Libdeflate) options.compressionLevel = kPngZlibCompressionLevel;
    auto e = std::make_unique<Encoder>();
    e->data.reserve(std::size_t(picture.Width()) * std::size_t(picture.Height()) / 4 + 1024);
    Compress(*e, picture, colours, opaque, options);
    return std::move(e->data);
}

}  // namespace vimbrel
