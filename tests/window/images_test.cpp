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
