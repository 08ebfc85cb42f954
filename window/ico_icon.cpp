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

// Callers check the range with fits() first.
std::uint32_t little16(Bytes bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8U);
}

std::uint32_t little32(Bytes bytes, std::size_t offset) {
    return little16(bytes, offset) | (little16(bytes, offset + 2) << 16U);
}

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kDirectoryEntry = 16;
constexpr std::size_t kInfoHeader = 40;  // BITMAPINFOHEADER, the least a bitmap carries
constexpr std::uint32_t kLargestSide = 256;
constexpr std::uint32_t kOpaque = 0xFF000000U;

// Rows of a bitmap are padded to whole 32-bit words.
std::size_t stride(std::uint32_t width, std::uint32_t bitsPerPixel) {
    return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// The value of pixel `x` in a row of 1, 4 or 8 bits a pixel, leftmost pixel
// in the highest bits.
std::uint32_t packedValue(Bytes row, std::uint32_t x, std::uint32_t bitsPerPixel) {
    const std::size_t bit = static_cast<std::size_t>(x) * bitsPerPixel;
    const unsigned shift = 8U - bitsPerPixel - static_cast<unsigned>(bit % 8);
    return (row[bit / 8] >> shift) & ((1U << bitsPerPixel) - 1U);
}

std::optional<IconImage> decodeBitmap(Bytes dib) {
    if (!fits(dib, 0, kInfoHeader)) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = little32(dib, 0);
    const std::uint32_t width = little32(dib, 4);
    // The height counts the colour rows and the mask rows together.
    const std::uint32_t height = little32(dib, 8) / 2;
    const std::uint32_t bitsPerPixel = little16(dib, 14);
    const std::uint32_t compression = little32(dib, 16);
    const std::uint32_t coloursUsed = little32(dib, 32);
    const bool knownDepth = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 ||
                            bitsPerPixel == 24 || bitsPerPixel == 32;
    // A PNG image starts with its signature, which read as a header size is
    // larger than any icon: it is left out here.
    if (headerSize < kInfoHeader || headerSize > dib.size() || compression != 0 || !knownDepth ||
        width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) {
        return std::nullopt;
    }
    const bool paletted = bitsPerPixel <= 8;
    const std::uint32_t paletteSize =
        !paletted ? 0 : (coloursUsed != 0 ? coloursUsed : 1U << bitsPerPixel);
    if (paletted && paletteSize > (1U << bitsPerPixel)) {
        return std::nullopt;
    }
    const std::size_t colourStride = stride(width, bitsPerPixel);
    const std::size_t maskStride = stride(width, 1);
    const std::size_t palette = headerSize;
    const std::size_t colours = palette + static_cast<std::size_t>(paletteSize) * 4;
    const std::size_t mask = colours + colourStride * height;
    // 32-bit images carry their own alpha; the mask, if any, is not read.
    const bool masked = bitsPerPixel != 32;
    if (!fits(dib, colours, colourStride * height) ||
        (masked && !fits(dib, mask, maskStride * height))) {
        return std::nullopt;
    }

    IconImage image{static_cast<int>(width), static_cast<int>(height), {}};
    image.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::size_t storedRow = height - 1 - y;  // bottom row first in the file
        const Bytes row = dib.subspan(colours + storedRow * colourStride, colourStride);
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t argb = 0;
            if (paletted) {
                const std::uint32_t index = packedValue(row, x, bitsPerPixel);
                // An index past the palette shows black, as a bitmap reader does.
                argb = kOpaque;
                if (index < paletteSize) {
                    argb |= little32(dib, palette + static_cast<std::size_t>(index) * 4) & 0xFFFFFFU;
                }
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * (bitsPerPixel / 8);
                argb = static_cast<std::uint32_t>(row[at]) |
                       (static_cast<std::uint32_t>(row[at + 1]) << 8U) |
                       (static_cast<std::uint32_t>(row[at + 2]) << 16U);
                argb |= bitsPerPixel == 32 ? static_cast<std::uint32_t>(row[at + 3]) << 24U : kOpaque;
            }
            if (masked && packedValue(dib.subspan(mask + storedRow * maskStride, maskStride), x, 1) != 0) {
                argb = 0;
            }
            image.pixels.push_back(argb);
        }
    }
    return image;
}

}  // namespace

std::vector<IconImage> decodeIco(Bytes file) {
    std::vector<IconImage> images;
    // Reserved 0, type 1 (icon), then the number of images.
    if (!fits(file, 0, kDirectoryHeader) || little16(file, 0) != 0 || little16(file, 2) != 1) {
        return images;
    }
    const std::uint32_t count = little16(file, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = kDirectoryHeader + static_cast<std::size_t>(i) * kDirectoryEntry;
        if (!fits(file, entry, kDirectoryEntry)) {
            break;
        }
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
