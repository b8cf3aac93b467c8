#include "workspace/png_deflate_writer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <libdeflate.h>

#include "workspace/image_errors.h"
#include "workspace/picture_colours.h"

namespace vimbrel {
namespace {

// Largest IDAT chunk written; any size up to 2^31 - 1 is valid, smaller ones keep every
// reader's buffers small.
constexpr std::size_t kIdatChunk = std::size_t(1) << 20;
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

// A picture of 256 colours or fewer goes out as a palette, nothing lost: a third of the
// bytes for deflate to read, and with 16 colours or fewer, two pixels or more a byte. The
// rows go into scratch unfiltered (a flat screen's runs stay runs); depth says how many
// bits a pixel takes. False, scratch in no defined state, for a picture of more colours.
bool IndexedRows(const Bitmap& picture, std::vector<RgbQuad>& table, int& depth, Bytes& scratch) {
    const std::size_t width = std::size_t(picture.Width()), height = std::size_t(picture.Height());
    scratch.resize((width + 1) * height);
    if (!IndexColours(picture, 256, table, scratch.data() + 1, width + 1)) return false;
    depth = table.size() <= 2 ? 1 : table.size() <= 4 ? 2 : table.size() <= 16 ? 4 : 8;
    // Packed in place, front to back: each byte lands at or before the first it is made of.
    const std::size_t packedRow = (width * std::size_t(depth) + 7) / 8;
    const std::size_t perByte = std::size_t(8 / depth);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* from = scratch.data() + y * (width + 1) + 1;
        std::uint8_t* to = scratch.data() + y * (packedRow + 1);
        to[0] = 0;  // filter: none
        if (depth == 8) {
            std::memmove(to + 1, from, width);
            continue;
        }
        if (depth == 4) {  // the common case of a screen of text, kept simple for the compiler
            for (std::size_t i = 0; i < width / 2; ++i) to[1 + i] = std::uint8_t(from[2 * i] << 4 | from[2 * i + 1]);
            if (width % 2) to[packedRow] = std::uint8_t(from[width - 1] << 4);
            continue;
        }
        for (std::size_t i = 0; i < packedRow; ++i) {
            unsigned byte = 0;
            for (std::size_t k = 0; k < perByte; ++k) {
                const std::size_t x = i * perByte + k;
                byte = (byte << depth) | (x < width ? from[x] : 0u);
            }
            to[1 + i] = std::uint8_t(byte);
        }
    }
    scratch.resize((packedRow + 1) * height);
    return true;
}

// Pictures with more pixels like their left neighbour than this are flat (windows of text)
// and written unfiltered: on a real text capture that is a quarter smaller than rows less
// the row above (Up), and half the time of a filter chosen per row (bench/png_vs_bmp_jpeg.sh).
constexpr double kFlatShare = 0.8;

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

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

}  // namespace

FourthBytes FourthBytesOf(const Bitmap& picture) {
    // A row at a time, with no branch inside, so that the compiler takes many at once.
    bool zero = true, full = true;
    for (int y = 0; y < picture.Height() && (zero || full); ++y) {
        const std::uint8_t* row = picture.Row(y);
        std::uint32_t any = 0, all = 0xFFFFFFFFu;
        for (int x = 0; x < picture.Width(); ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            any |= pixel;
            all &= pixel;
        }
        zero = zero && (any >> 24) == 0;
        full = full && (all >> 24) == 0xFF;
    }
    return zero ? FourthBytes::AllZero : full ? FourthBytes::AllOpaque : FourthBytes::Alpha;
}

PngRowFilter ChosenFilter(const Bitmap& picture) {
    // Palette indices are no sample values: their differences mean nothing to deflate.
    if (picture.BitsPerPixel() == 8) return PngRowFilter::None;
    return RepeatedShare(picture) >= kFlatShare ? PngRowFilter::None : PngRowFilter::PerRow;
}

std::vector<std::uint8_t> DeflatePngFile(const Bitmap& picture, const std::vector<png_color>& colours, bool opaque,
                                           const PngWriteOptions& options) {
    const int bpp = picture.BitsPerPixel();
    int channels = bpp == 8 ? 1 : bpp == 24 || opaque ? 3 : 4;
    // Kept for the next picture of this thread, unless it is larger than a big screen's.
    thread_local Bytes scratch;
    struct Trim {
        Bytes& kept;
        ~Trim() {
            if (kept.capacity() > kKeptScratch) Bytes().swap(kept);
        }
    } trim{scratch};
    std::vector<png_color> palette = colours;
    int depth = 8;
    std::vector<RgbQuad> found;
    const bool indexed = channels == 3 && !options.filter && IndexedRows(picture, found, depth, scratch);
    if (indexed) {
        channels = 1;
        palette.clear();
        for (const RgbQuad& c : found) palette.push_back(png_color{c.red, c.green, c.blue});
    } else {
        FilterRows(picture, channels, options.filter ? *options.filter : ChosenFilter(picture), scratch);
    }
    const Bytes& rows = scratch;
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(std::clamp(indexed ? options.paletteCompressionLevel : options.compressionLevel, 1, 12)));
    if (!compressor) throw EInOutError("PNG: not enough memory for the compressor");
    Bytes data(libdeflate_zlib_compress_bound(compressor.get(), rows.size()));
    const std::size_t packed = libdeflate_zlib_compress(compressor.get(), rows.data(), rows.size(), data.data(), data.size());
    if (packed == 0) throw EInOutError("PNG: the compressed data did not fit");

    std::vector<std::uint8_t> table;
    for (const png_color& c : palette) table.insert(table.end(), {c.red, c.green, c.blue});
    const std::size_t chunks = (packed + kIdatChunk - 1) / kIdatChunk;
    std::vector<std::uint8_t> out(kPngSignatureSize + 25 + (indexed ? 13 : 0) + (table.empty() ? 0 : 12 + table.size()) + packed + 12 * chunks + 12);
    std::uint8_t* at = out.data();
    const std::uint8_t signature[kPngSignatureSize] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::memcpy(at, signature, kPngSignatureSize);
    at += kPngSignatureSize;
    std::uint8_t header[13] = {};
    PutBig32(header, std::uint32_t(picture.Width()));
    PutBig32(header + 4, std::uint32_t(picture.Height()));
    header[8] = std::uint8_t(depth);  // bits a sample
    header[9] = std::uint8_t(channels == 1 ? PNG_COLOR_TYPE_PALETTE : channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA);
    // compression, filter method and interlace: 0
    PutChunk(at, "IHDR", header, sizeof header);
    const std::uint8_t trueColour = 24;
    if (indexed) PutChunk(at, kPngTrueColourChunk, &trueColour, 1);
    if (!table.empty()) PutChunk(at, "PLTE", table.data(), table.size());
    for (std::size_t from = 0; from < packed; from += kIdatChunk)
        PutChunk(at, "IDAT", data.data() + from, std::min(kIdatChunk, packed - from));
    PutChunk(at, "IEND", nullptr, 0);
    return out;
}

}  // namespace vimbrel
