#include "workspace/jpeg_file.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <cstdio>
#include <memory>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

#include "workspace/image_errors.h"

namespace vimbrel {
namespace {

// libjpeg reports failures through error_exit, which must not return. We jump back to the
// frame that called the library (no C++ objects live in the frames in between) and throw
// from there.
struct ErrorManager {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

extern "C" void JumpOnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings go nowhere, except missing data: the library would pad the picture with grey
// and call it a picture.
extern "C" void OnMessage(j_common_ptr cinfo, int level) {
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) JumpOnError(cinfo);
}

void InstallErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOnError;
    err.pub.emit_message = OnMessage;
}

// Internal working memory the library may take for one picture (progressive coefficients,
// the two-pass quantiser's whole-image buffer).
constexpr long kMaxDecoderMemory = 1L << 30;

struct Decoder {
    // libjpeg points at err, so it stays where it was made (its unique_ptr moves).
    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ErrorManager err;
    jpeg_decompress_struct cinfo{};
    bool created = false;
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

// Compressed data goes into a buffer we own, so a failure half-way leaves nothing for us
// to free by hand. It starts large enough for most pictures and is not zero-filled: the
// pages are touched once, by the encoder.
struct BufferDestination {
    jpeg_destination_mgr pub{};
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t capacity = 0;
    std::size_t initialCapacity = 1 << 16;
};

extern "C" void InitBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<BufferDestination*>(cinfo->dest);
    dest->data.reset(new (std::nothrow) std::uint8_t[dest->initialCapacity]);
    if (!dest->data) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    dest->capacity = dest->initialCapacity;
    dest->pub.next_output_byte = dest->data.get();
    dest->pub.free_in_buffer = dest->capacity;
}

extern "C" boolean GrowBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<BufferDestination*>(cinfo->dest);
    const std::size_t used = dest->capacity;
    std::unique_ptr<std::uint8_t[]> bigger(new (std::nothrow) std::uint8_t[2 * used]);
    if (!bigger) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
    std::memcpy(bigger.get(), dest->data.get(), used);
    dest->data = std::move(bigger);
    dest->capacity = 2 * used;
    dest->pub.next_output_byte = dest->data.get() + used;
    dest->pub.free_in_buffer = dest->capacity - used;
    return TRUE;
}

extern "C" void TermBuffer(j_compress_ptr) {}

struct Encoder {
    // libjpeg points at err and dest: never copied, never moved out of its unique_ptr.
    Encoder() = default;
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    ErrorManager err;
    jpeg_compress_struct cinfo{};
    BufferDestination dest;
    const Bitmap* source = nullptr;
    bool created = false;
    ~Encoder() {
        if (created) jpeg_destroy_compress(&cinfo);
    }
};

void StartDecoder(Decoder& d, std::span<const std::uint8_t> file) {
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    d.cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&d.cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d.cinfo, TRUE);
}

void CheckFileSize(std::span<const std::uint8_t> file) {
    if (file.size() > 0xFFFFFFFFu) throw EInvalidGraphic("JPEG file too large");
}

}  // namespace

Size ReadJpegSize(std::span<const std::uint8_t> file) {
    CheckFileSize(file);
    auto d = std::make_unique<Decoder>();
    d->cinfo.err = &d->err.pub;
    InstallErrorManager(d->err);
    if (setjmp(d->err.jump)) throw EInvalidGraphic(std::string("JPEG: ") + d->err.message);
    StartDecoder(*d, file);
    return Size{int(d->cinfo.image_width), int(d->cinfo.image_height)};
}

namespace {

struct ScanCount {
    int scans = 0;
    bool progressive = false;
};

// Walks the marker segments without decoding anything: every scan header, and whether a
// frame header says progressive. Inside a scan's data every 0xFF byte of the picture is
// followed by 0 or a restart marker, so any other pair ends the scan.
ScanCount CountScans(std::span<const std::uint8_t> f) {
    ScanCount count;
    std::size_t i = 2;  // after the start-of-image marker
    while (i + 1 < f.size()) {
        if (f[i] != 0xFF) { ++i; continue; }
        const std::uint8_t m = f[i + 1];
        if (m == 0xFF) { ++i; continue; }  // fill byte
        i += 2;
        if (m == 0xD9) break;
        if (m == 0x00 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;  // no length follows
        if (i + 1 >= f.size()) break;
        const std::size_t length = (std::size_t(f[i]) << 8) | f[i + 1];
        if (m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE) count.progressive = true;
        i += std::max<std::size_t>(length, 2);
        if (m != 0xDA) continue;
        ++count.scans;
        while (i + 1 < f.size() && !(f[i] == 0xFF && f[i + 1] != 0x00 && (f[i + 1] < 0xD0 || f[i + 1] > 0xD7))) ++i;
    }
    return count;
}

// Every coefficient of every component must have had a scan; a progressive file missing
// some would show as a blurred or wrongly coloured picture.
bool AllCoefficientsArrived(const jpeg_decompress_struct& c) {
    if (!c.progressive_mode || !c.coef_bits) return true;
    for (int ci = 0; ci < c.num_components; ++ci)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (c.coef_bits[ci][k] < 0) return false;
    return true;
}

// The file as it is, with its end-of-image marker.
Bitmap DecodeWhole(std::span<const std::uint8_t> file, const JpegReadOptions& options) {
    CheckFileSize(file);
    const bool quantise = options.greys || !options.trueColourDisplay;
    auto d = std::make_unique<Decoder>();
    auto out = std::make_unique<Bitmap>();
    d->cinfo.err = &d->err.pub;
    InstallErrorManager(d->err);
    if (setjmp(d->err.jump)) throw EInvalidGraphic(std::string("JPEG: ") + d->err.message);
    StartDecoder(*d, file);

    jpeg_decompress_struct& c = d->cinfo;
    c.scale_num = 1;
    c.scale_denom = 1;
    c.do_block_smoothing = TRUE;
    if (options.greys) {
        c.out_color_space = JCS_GRAYSCALE;
    } else {
        // The quantiser works on plain RGB; unquantised output goes straight into DIB order.
        c.out_color_space = quantise ? JCS_RGB : JCS_EXT_BGR;
    }
    if (quantise) {
        c.quantize_colors = TRUE;
        c.desired_number_of_colors = kJpegQuantisedColours;
    }
    const int outBpp = quantise ? 8 : 24;
    if (c.image_width > unsigned(Bitmap::kMaxSide) || c.image_height > unsigned(Bitmap::kMaxSide) ||
        !Bitmap::SizeAllowed(int(c.image_width), int(c.image_height), outBpp))
        throw EInvalidGraphic("JPEG: picture too large");

    // Every 8 x 8 block of a Huffman-coded sequential picture costs at least two bits (a DC
    // and an end-of-block code), so data far too short for the declared size is refused
    // before the picture is allocated, not after.
    if (!c.progressive_mode && !c.arith_code) {
        std::uint64_t blocks = 0;
        for (int i = 0; i < c.num_components; ++i)
            blocks += std::uint64_t(c.comp_info[i].width_in_blocks) * c.comp_info[i].height_in_blocks;
        if (std::uint64_t(file.size()) * 8 < blocks * 2) throw EInvalidGraphic("JPEG: data too short for the picture");
    }
    jpeg_start_decompress(&c);
    if (!AllCoefficientsArrived(c)) throw EInvalidGraphic("JPEG: progressive scans missing");
    try {
        *out = Bitmap(int(c.output_width), int(c.output_height), outBpp);
    } catch (const EImageTooLarge& e) {
        throw EInvalidGraphic(e.what());
    }
    if (quantise) {
        auto& palette = out->Palette();
        palette.assign(std::size_t(c.actual_number_of_colors), RgbQuad{});
        const bool grey = c.out_color_components == 1;
        for (int i = 0; i < c.actual_number_of_colors; ++i) {
            const std::uint8_t r = c.colormap[0][i];
            palette[i] = grey ? RgbQuad{r, r, r, 0} : RgbQuad{c.colormap[2][i], c.colormap[1][i], r, 0};
        }
    }
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = out->Row(int(c.output_scanline));
        jpeg_read_scanlines(&c, &row, 1);
    }
    jpeg_finish_decompress(&c);
    return std::move(*out);
}

}  // namespace

Bitmap DecodeJpeg(std::span<const std::uint8_t> file, const JpegReadOptions& options) {
    // Each scan of a progressive picture costs a pass over the whole picture, so a small
    // file of many scans would hold the program for minutes.
    const ScanCount count = CountScans(file);
    if (count.scans > kMaxJpegScans) throw EInvalidGraphic("JPEG: too many scans");
    const bool endMarked = file.size() >= 2 && file[file.size() - 2] == 0xFF && file[file.size() - 1] == 0xD9;
    if (endMarked || file.empty()) return DecodeWhole(file, options);
    // A sequential file whose rows are all there but whose end-of-image marker is missing
    // still reads; data that is really cut short then meets the marker early and is
    // refused. A progressive file cut short would only look blurred, so it is damage.
    if (count.progressive) throw EInvalidGraphic("JPEG: progressive data cut short");
    std::vector<std::uint8_t> closed(file.begin(), file.end());
    closed.insert(closed.end(), {0xFF, 0xD9});
    return DecodeWhole(closed, options);
}

namespace {

// Everything the library touches lives in *e, so nothing here is clobbered by the jump.
void Compress(Encoder& e, const Bitmap& source) {
    e.source = &source;
    e.cinfo.err = &e.err.pub;
    InstallErrorManager(e.err);
    if (setjmp(e.err.jump)) throw EInOutError(std::string("JPEG: ") + e.err.message);
    jpeg_compress_struct& c = e.cinfo;
    jpeg_create_compress(&c);
    e.created = true;
    e.dest.pub.init_destination = InitBuffer;
    e.dest.pub.empty_output_buffer = GrowBuffer;
    e.dest.pub.term_destination = TermBuffer;
    // A capture at quality 90 takes about a tenth of its 24-bit size.
    const std::size_t guess = std::size_t(e.source->Width()) * std::size_t(e.source->Height()) * 3 / 8;
    e.dest.initialCapacity = std::clamp<std::size_t>(guess, e.dest.initialCapacity, std::size_t(1) << 26);
    c.dest = &e.dest.pub;
    c.image_width = JDIMENSION(e.source->Width());
    c.image_height = JDIMENSION(e.source->Height());
    c.input_components = e.source->BitsPerPixel() / 8;
    c.in_color_space = e.source->BitsPerPixel() == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, kJpegQuality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(e.source->Row(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Bitmap& picture) {
    // Palette pictures are first spread to 24 bits; 24- and 32-bit rows go in as they are.
    if (picture.BitsPerPixel() == 8) {
        Bitmap spread(picture.Width(), picture.Height(), 24);
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) spread.SetPixelColour(x, y, picture.PixelColour(x, y));
        return EncodeJpeg(spread);
    }
    auto e = std::make_unique<Encoder>();
    Compress(*e, picture);
    const std::uint8_t* data = e->dest.data.get();
    return std::vector<std::uint8_t>(data, data + (e->dest.capacity - e->dest.pub.free_in_buffer));
}

}  // namespace vimbrel
