// The images as the window loads them, and what it falls back to without them.
#include <gtest/gtest.h>

#include "images.h"

namespace window::testing {
namespace {

TEST(Images, ThePictureIsLoadedWholeAndUnscaledWhenCompiledIn) {
#ifndef BUL_PGIA_HAVE_ASSETS
    GTEST_SKIP() << "built without assets/assets.qrc";
#endif
    const QPixmap picture = loadBackgroundPicture();
    EXPECT_EQ(picture.size(), QSize(496, 538));
}

TEST(Images, TheVisiblePartIsDecodedAloneWithTheSamePixelsAsTheWholePicture) {
#ifndef BUL_PGIA_HAVE_ASSETS
    GTEST_SKIP() << "built without assets/assets.qrc";
#endif
    const QRect clientArea(0, 0, 400, 510);
    const QImage visible =
        loadBackgroundPicture(QString::fromLatin1(kBackgroundPicturePath), clientArea).toImage();
    const QImage whole = loadBackgroundPicture().toImage().copy(clientArea);
    ASSERT_EQ(visible.size(), clientArea.size());
    EXPECT_EQ(visible.convertToFormat(QImage::Format_RGB32), whole.convertToFormat(QImage::Format_RGB32));
}

TEST(Images, TheIconCarriesBothSizesWhenCompiledIn) {
#ifndef BUL_PGIA_HAVE_ASSETS
    GTEST_SKIP() << "built without assets/assets.qrc";
#endif
    const QList<QSize> sizes = loadWindowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

TEST(Images, AMissingPictureOrIconLoadsAsNullSoTheWindowKeepsItsDefaults) {
    EXPECT_TRUE(loadBackgroundPicture(":/no-such-picture.jpg").isNull());
    EXPECT_TRUE(loadWindowIcon(":/no-such-icon.ico").isNull());
}

}  // namespace
}  // namespace window::testing
