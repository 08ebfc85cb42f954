// Loading the background picture and the icon from the resources, decoded by
// libjpeg and by hand: Qt's image plugins, their directory scan and their
// reader machinery stay out of the program's start-up.
#include "images.h"

#include <QResource>
#include <mutex>

#include "ico_icon.h"
#include "jpeg_picture.h"

#ifdef BUL_PGIA_HAVE_ASSETS
// Resources compiled into a static library are registered only when asked to:
// nothing else in the program refers to them.
static void registerAssets() { Q_INIT_RESOURCE(assets); }
#else
static void registerAssets() {}
#endif

namespace window {

namespace {

void ensureAssets() {
    static std::once_flag once;
    std::call_once(once, registerAssets);
}

// The bytes of a resource, or none when there is no such resource. The
// resources are stored uncompressed, so these are the compiled-in bytes
// themselves and no copy is made.
QByteArray resourceBytes(const QString& path) {
    ensureAssets();
    const QResource resource(path);
    if (!resource.isValid()) {
        return {};
    }
    return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                   static_cast<qsizetype>(resource.size()));
}

}  // namespace

QPixmap loadBackgroundPicture(const QString& path, const QRect& visible) {
    const QByteArray bytes = resourceBytes(path);
    return QPixmap::fromImage(decodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size()), visible));
}

QIcon loadWindowIcon(const QString& path) {
    const QByteArray bytes = resourceBytes(path);
    QIcon icon;
    for (const IconImage& decoded :
         decodeIco({reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size())})) {
        // The pixels stay owned by `decoded`; the pixmap makes its own copy.
        const QImage image(reinterpret_cast<const uchar*>(decoded.pixels.data()), decoded.width,
                           decoded.height,
                           static_cast<qsizetype>(decoded.width) * qsizetype{sizeof(std::uint32_t)},
                           QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace window
