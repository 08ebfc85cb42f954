// An ICO file is a directory of images; each is a bitmap (header, palette,
// colour rows bottom-up) followed by a 1-bit mask that marks what is clear.
#include "ico_icon.h"

#include <cstddef>
#include <optional>

namespace window {

namespace {

using Bytes = std::span<const unsigned char>;

bool fits(Bytes bytes, std::size_t offset, std::size_t length) {
    return offset <= bytes.size() && length <= bytes.size() - offset;
}

// 0 past the end: a directory or header cut short reads as one of no image.
std::uint32_t little16(Bytes bytes, std::size_t offset) {
    if (!fits(bytes, offset, 2)) {
        return 0;
    }
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8U);
}

std::uint32_t little32(Bytes bytes, std::size_t offset) {
    return little16(bytes, offset) | (little16(bytes, offset + 2) << 16U);
}

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kDirectoryEntry = 16;
constexpr std::size_t kInfoHeader = 40;  // BITMAPINFOHEADER, the least a bitmap carries
constexpr std::uint32_t kOpaque = 0xFF000000U;
// The icon's images are all of 16 colours, with a full palette.
constexpr std::uint32_t kBitsPerPixel = 4;
constexpr std::uint32_t kColours = 1U << kBitsPerPixel;

// Rows of a bitmap are padded to whole 32-bit words.
std::size_t stride(std::uint32_t width, std::uint32_t bitsPerPixel) {
    return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// The value of pixel `x` in a row of 1 or 4 bits a pixel, leftmost pixel in
// the highest bits.
std::uint32_t packedValue(Bytes row, std::uint32_t x, std::uint32_t bitsPerPixel) {
    const std::size_t bit = static_cast<std::size_t>(x) * bitsPerPixel;
    const unsigned shift = 8U - bitsPerPixel - static_cast<unsigned>(bit % 8);
    return (row[bit / 8] >> shift) & ((1U << bitsPerPixel) - 1U);
}

std::optional<IconImage> decodeBitmap(Bytes dib) {
    const std::uint32_t headerSize = little32(dib, 0);
    const std::uint32_t width = little32(dib, 4);
    // The height counts the colour rows and the mask rows together.
    const std::uint32_t height = little32(dib, 8) / 2;
    const std::uint32_t coloursUsed = little32(dib, 32);
    // A PNG image starts with its signature, which read as a header size puts
    // the colour rows far past the end: it is left out below.
    if (headerSize < kInfoHeader || little16(dib, 14) != kBitsPerPixel || little32(dib, 16) != 0 ||
        (coloursUsed != 0 && coloursUsed != kColours) || width == 0 || height == 0) {
        return std::nullopt;
    }
    const std::size_t colourStride = stride(width, kBitsPerPixel);
    const std::size_t maskStride = stride(width, 1);
    const std::size_t palette = headerSize;
    const std::size_t colours = palette + std::size_t{kColours} * 4;
    const std::size_t mask = colours + colourStride * height;
    if (!fits(dib, mask, maskStride * height)) {
        return std::nullopt;
    }

    IconImage image{static_cast<int>(width), static_cast<int>(height), {}};
    image.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::size_t storedRow = height - 1 - y;  // bottom row first in the file
        const Bytes row = dib.subspan(colours + storedRow * colourStride, colourStride);
        const Bytes maskRow = dib.subspan(mask + storedRow * maskStride, maskStride);
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t index = packedValue(row, x, kBitsPerPixel);
            const bool clear = packedValue(maskRow, x, 1) != 0;
            image.pixels.push_back(
                clear ? 0 : kOpaque | (little32(dib, palette + std::size_t{index} * 4) & 0xFFFFFFU));
        }
    }
    return image;
}

}  // namespace

std::vector<IconImage> decodeIco(Bytes file) {
    std::vector<IconImage> images;
    // Reserved 0, type 1 (icon), then the number of images.
    if (little16(file, 0) != 0 || little16(file, 2) != 1) {
        return images;
    }
    const std::uint32_t count = little16(file, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryHeader + static_cast<std::size_t>(i) * kDirectoryEntry;
        const std::uint32_t size = little32(file, entry + 8);
        const std::uint32_t offset = little32(file, entry + 12);
        if (!fits(file, offset, size)) {
            continue;
        }
        if (auto image = decodeBitmap(file.subspan(offset, size))) {
            images.push_back(std::move(*image));
        }
    }
    return images;
}

}  // namespace window
