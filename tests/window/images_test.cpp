// The images as the window loads them, and what it falls back to without them.
#include <gtest/gtest.h>

#include <QColorSpace>
#include <QImageReader>
#include <vector>

#include "ico_icon.h"
#include "images.h"
#include "jpeg_picture.h"

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

// The program decodes both files itself; Qt's image plugins, still there for
// the tests, say what the pixels must be.
TEST(Images, ThePictureHasThePixelsOfQtsOwnJpegReader) {
#ifndef BUL_PGIA_HAVE_ASSETS
    GTEST_SKIP() << "built without assets/assets.qrc";
#endif
    const QImage expected = QImage(QString::fromLatin1(kBackgroundPicturePath));
    ASSERT_FALSE(expected.isNull()) << "Qt's JPEG plugin is missing";
    // Qt's reader also tags the image sRGB, which painting never reads: only
    // the pixels are compared.
    QImage decoded = loadBackgroundPicture().toImage().convertToFormat(QImage::Format_RGB32);
    decoded.setColorSpace(expected.colorSpace());
    EXPECT_EQ(decoded, expected.convertToFormat(QImage::Format_RGB32));

    // A part away from the corners too.
    const QRect inside(37, 41, 100, 90);
    QImage part = loadBackgroundPicture(QString::fromLatin1(kBackgroundPicturePath), inside).toImage();
    part.setColorSpace(expected.colorSpace());
    EXPECT_EQ(part.convertToFormat(QImage::Format_RGB32),
              expected.copy(inside).convertToFormat(QImage::Format_RGB32));
}

TEST(Images, EveryIconImageHasThePixelsOfQtsOwnIcoReader) {
#ifndef BUL_PGIA_HAVE_ASSETS
    GTEST_SKIP() << "built without assets/assets.qrc";
#endif
    const QIcon icon = loadWindowIcon();
    QImageReader reader(QString::fromLatin1(kWindowIconPath));
    int images = 0;
    do {
        const QImage expected = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(expected.isNull()) << "Qt's ICO plugin is missing";
        ++images;
        const QImage decoded = icon.pixmap(expected.size()).toImage().convertToFormat(
            QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(decoded, expected) << expected.width() << "x" << expected.height();
    } while (reader.jumpToNextImage());
    EXPECT_EQ(images, 2);
}

// Damaged files give no image and never read outside the bytes they have.
TEST(Images, ADamagedIconGivesNoImage) {
    // One 1 x 1 four-bit image: directory, entry, header, 16 colours, a
    // colour row and a mask row.
    std::vector<unsigned char> icon = {0, 0, 1, 0, 1, 0,  //
                                       1, 1, 16, 0, 1, 0, 4, 0, 112, 0, 0, 0, 22, 0, 0, 0};
    const std::vector<unsigned char> header = {40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 4, 0};
    icon.insert(icon.end(), header.begin(), header.end());
    icon.resize(icon.size() + 24 + 16 * 4 + 4 + 4, 0);
    ASSERT_EQ(decodeIco(icon).size(), 1U) << "the sound icon the cases below damage";

    struct Case {
        const char* what;
        std::size_t at;
        unsigned char value;
        std::size_t keep;
    };
    const Case cases[] = {
        {"cut inside the directory", 0, 0, 4},
        {"not an icon but a cursor", 2, 2, icon.size()},
        {"cut inside the entry", 0, 0, 12},
        {"image offset past the end", 21, 1, icon.size()},
        {"cut short of the last byte", 0, 0, icon.size() - 1},
        {"an unknown depth", 36, 3, icon.size()},
        {"a depth the icon does not use", 36, 8, icon.size()},
        {"compressed colour rows", 38, 1, icon.size()},
        {"zero width", 26, 0, icon.size()},
        {"more colours than the depth has", 54, 17, icon.size()},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> damaged = icon;
        damaged[c.at] = c.value;
        damaged.resize(c.keep);
        EXPECT_TRUE(decodeIco(damaged).empty()) << c.what;
    }
}

TEST(Images, BytesThatAreNoJpegGiveNoPicture) {
    const unsigned char notJpeg[] = "not a picture at all";
    EXPECT_TRUE(decodeJpeg(notJpeg, sizeof notJpeg).isNull());
    EXPECT_TRUE(decodeJpeg(nullptr, 0).isNull());
}

TEST(Images, AMissingPictureOrIconLoadsAsNullSoTheWindowKeepsItsDefaults) {
    EXPECT_TRUE(loadBackgroundPicture(":/no-such-picture.jpg").isNull());
    EXPECT_TRUE(loadWindowIcon(":/no-such-icon.ico").isNull());
}

}  // namespace
}  // namespace window::testing
