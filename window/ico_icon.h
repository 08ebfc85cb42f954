// The window icon decoded by hand from its ICO file: the few lines a small
// bitmap icon needs, in place of Qt's image plugins. No Qt here.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace window {

struct IconImage {
    int width = 0;
    int height = 0;
    // width * height pixels, top row first, each 0xAARRGGBB with straight
    // (not premultiplied) alpha; a pixel the icon's mask leaves out is 0.
    std::vector<std::uint32_t> pixels;
};

// Every image of the ICO file `file` that is stored as the program's icon
// stores its own: an uncompressed bitmap of 4 bits a pixel with its 16
// colours, in the order of the file. Images stored otherwise (other depths,
// PNG), and any whose bytes lie outside the file, are left out; data that is
// no ICO at all gives none.
std::vector<IconImage> decodeIco(std::span<const unsigned char> file);

}  // namespace window
