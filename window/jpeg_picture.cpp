// libjpeg reports a fatal error by calling error_exit, which must not return;
// it jumps back here instead, and the decoding gives a null image.
#include "jpeg_picture.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace window {

namespace {

struct ErrorJump {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

// Every call into libjpeg lies between setjmp and the return; no object with
// a destructor is created in this frame, so the jump skips nothing.
bool decodeRows(jpeg_decompress_struct& info, ErrorJump& errors, const QRect& visible,
                std::vector<unsigned char>& row, QImage& image) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_read_header(&info, TRUE);
    // libjpeg-turbo writes B, G, R and an opaque alpha: QImage's RGB32 in memory.
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    const QRect whole(0, 0, static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    const QRect kept = visible.isEmpty() ? whole : visible.intersected(whole);
    image = QImage(kept.size(), QImage::Format_RGB32);
    if (image.isNull()) {  // also when `visible` misses the picture
        return false;
    }
    constexpr std::size_t kBytesPerPixel = 4;
    row.resize(static_cast<std::size_t>(whole.width()) * kBytesPerPixel);
    JSAMPROW rowStart = row.data();
    for (int y = 0; y <= kept.bottom(); ++y) {
        jpeg_read_scanlines(&info, &rowStart, 1);
        if (y >= kept.top()) {
            std::memcpy(image.scanLine(y - kept.top()),
                        row.data() + static_cast<std::size_t>(kept.left()) * kBytesPerPixel,
                        static_cast<std::size_t>(kept.width()) * kBytesPerPixel);
        }
    }
    return true;
}

}  // namespace

QImage decodeJpeg(const unsigned char* data, std::size_t size, const QRect& visible) {
    if (data == nullptr || size == 0) {
        return {};
    }
    jpeg_decompress_struct info{};
    ErrorJump errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpBack;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    std::vector<unsigned char> row;
    QImage image;
    const bool decoded = decodeRows(info, errors, visible, row, image);
    // Frees everything libjpeg holds, whether or not every row was read.
    jpeg_destroy_decompress(&info);
    return decoded ? image : QImage();
}

}  // namespace window
