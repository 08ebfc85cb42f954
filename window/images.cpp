// Loading the background picture and the icon from the resources.
#include "images.h"

#include <QImageReader>
#include <mutex>

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

}  // namespace

QPixmap loadBackgroundPicture(const QString& path) {
    ensureAssets();
    return QPixmap(path);
}

QIcon loadWindowIcon(const QString& path) {
    ensureAssets();
    QIcon icon;
    QImageReader reader(path);
    do {
        const QImage image = reader.read();
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    } while (reader.jumpToNextImage());
    return icon;
}

}  // namespace window
