#pragma once
// The picture type every image operation shares: a device-independent bitmap held in
// memory exactly as Windows lays out a DIB's pixels (rows padded to 4 bytes, blue-green-red
// byte order), stored top-down. 8-bit pictures carry a colour table; 24- and 32-bit ones
// hold their colours directly. The Win32 bridge hands these bytes to GDI unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace vimbrel {

struct RgbQuad {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// How a picture read from a bitmap file was stored there, so that saving keeps it: 1 or 4
// bits (held here at 8) or 16 bits (held at 24), and the red, green and blue masks of a
// file with bit fields. Zero bits: the picture's own depth; zero masks: no bit fields.
struct StoredFormat {
    int bitsPerPixel = 0;
    std::array<std::uint32_t, 3> masks{};
    bool HasMasks() const { return masks != std::array<std::uint32_t, 3>{}; }
    friend bool operator==(const StoredFormat&, const StoredFormat&) = default;
};

// Raised when a picture of the asked size cannot be held (too large or out of memory).
class EImageTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An allocator that leaves new elements of a trivial type as they are instead of zeroing
// them, for storage that is written in full before it is read.
template <class T>
struct UnfilledAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <class U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

class Bitmap {
public:
    // Largest side and largest pixel buffer a picture may have; readers check against these
    // before they allocate anything.
    static constexpr int kMaxSide = 65535;
    static constexpr std::size_t kMaxBytes = std::size_t(1) << 31;

    Bitmap() = default;
    // bitsPerPixel is 8, 24 or 32; pixels start black (index 0).
    Bitmap(int width, int height, int bitsPerPixel);
    // The same shape with its pixel bytes left undefined, for a caller that writes every
    // byte before anything reads one (a screen grab): a screenful is not zeroed first.
    static Bitmap Unfilled(int width, int height, int bitsPerPixel);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bpp_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Bytes per row, padded to a multiple of 4.
    std::size_t Stride() const { return stride_; }

    static std::size_t StrideFor(int width, int bitsPerPixel);
    // Whether a picture of this shape may be created, without creating it.
    static bool SizeAllowed(int width, int height, int bitsPerPixel);

    std::uint8_t* Row(int y) { return data_.data() + std::size_t(y) * stride_; }
    const std::uint8_t* Row(int y) const { return data_.data() + std::size_t(y) * stride_; }
    std::uint8_t* Data() { return data_.data(); }
    const std::uint8_t* Data() const { return data_.data(); }
    std::size_t DataSize() const { return data_.size(); }

    std::vector<RgbQuad>& Palette() { return palette_; }
    const std::vector<RgbQuad>& Palette() const { return palette_; }

    const StoredFormat& FileFormat() const { return fileFormat_; }
    void SetFileFormat(const StoredFormat& format) { fileFormat_ = format; }

    // Colour of one pixel whatever the depth (through the colour table for 8 bits).
    RgbQuad PixelColour(int x, int y) const;
    // Sets one pixel of a 24- or 32-bit picture.
    void SetPixelColour(int x, int y, RgbQuad c);

    // The same picture, however its file stored it.
    friend bool operator==(const Bitmap& a, const Bitmap& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.bpp_ == b.bpp_ && a.data_ == b.data_ &&
               a.palette_ == b.palette_;
    }

private:
    int width_ = 0, height_ = 0, bpp_ = 24;
    std::size_t stride_ = 0;
    enum class Fill { Black, None };
    Bitmap(int width, int height, int bitsPerPixel, Fill fill);

    std::vector<std::uint8_t, UnfilledAllocator<std::uint8_t>> data_;
    std::vector<RgbQuad> palette_;
    StoredFormat fileFormat_;
};

}  // namespace vimbrel
