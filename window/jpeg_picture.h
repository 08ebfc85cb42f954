// The background picture decoded with libjpeg itself, without Qt's image plugins.
#pragma once

#include <QImage>
#include <QRect>
#include <cstddef>

namespace window {

// Decodes the JPEG in `data` (`size` bytes) into a Format_RGB32 image with the
// pixels libjpeg's default (accurate) decoding gives, as Qt's own JPEG plugin
// does. When `visible` is not empty only the part of the picture inside it is
// kept, and the rows below it are never decoded. A null image when the data is
// not a JPEG in grey or colour that libjpeg reads, or `visible` misses it.
QImage decodeJpeg(const unsigned char* data, std::size_t size, const QRect& visible = {});

}  // namespace window
