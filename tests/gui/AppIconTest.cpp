#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include "WindowFixture.h"
#include "gui/AppIcon.h"

namespace {

// Counts the pixels of an image that show something and those that do not.
std::pair<int, int> OpaqueAndClear(const QImage& image) {
    int opaque = 0, clear = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++(qAlpha(image.pixel(x, y)) == 0 ? clear : opaque);
    return {opaque, clear};
}

TEST(AppIconTest, TheDrawingRendersAtEverySize) {
    for (int size : {16, 48, 256}) {
        SCOPED_TRACE(size);
        const QImage image = AppIconPixmap(size).toImage();
        EXPECT_EQ(image.size(), QSize(size, size));
        // A drawing that failed to load leaves the pixmap all clear.
        const auto [opaque, clear] = OpaqueAndClear(image);
        EXPECT_GT(opaque, size * size / 3);
        EXPECT_GT(clear, 0);
    }
}

class AppIconWindowTest : public WindowFixture {};

TEST_F(AppIconWindowTest, TheBannerImageIsTheProgramsIcon) {
    auto* image = Find<QLabel>("Image1");
    ASSERT_NE(image, nullptr);
    const QPixmap shown = image->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.toImage(), AppIconPixmap(shown.width()).toImage());
}

}  // namespace
