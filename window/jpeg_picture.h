// The background picture decoded with libjpeg itself, without Qt's image plugins.
#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>

namespace window {

// Decodes the JPEG in `data` (`size` bytes) into a Format_RGB32 image with the
// pixels libjpeg's default (accurate) decoding gives, as Qt's own JPEG plugin
// does. When `visible` is not empty only its top-left part (clamped to the
// picture) is kept, and the rows below it are never decoded. A null image when
// the data is not a JPEG in grey or colour that libjpeg reads.
QImage decodeJpeg(const unsigned char* data, std::size_t size, QSize visible = {});

}  // namespace window
