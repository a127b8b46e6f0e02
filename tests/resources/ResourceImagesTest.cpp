#include "ResourceImages.h"
#include "TransparentColor.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(ResourceImages, EveryPictureHasItsSize)
{
    const struct
    {
        int id;
        QSize size;
    } pictures[] = {{130, {48, 16}}, {152, {52, 48}}, {153, {52, 48}}, {154, {52, 48}},
                    {155, {52, 48}}, {156, {52, 48}}, {157, {52, 48}}, {158, {52, 48}},
                    {164, {52, 48}}, {166, {52, 48}}, {167, {52, 48}}, {168, {52, 48}},
                    {169, {52, 48}}, {170, {52, 48}}, {171, {52, 48}}, {172, {52, 48}},
                    {190, {16, 16}}, {191, {16, 16}}, {192, {16, 16}}, {193, {160, 120}},
                    {195, {96, 96}}, {128, {64, 64}}};
    for (const auto& p : pictures)
        EXPECT_EQ(ResourceImages::bitmap(p.id).size(), p.size) << p.id;
    EXPECT_FALSE(ResourceImages::icon(128).availableSizes().isEmpty());
    EXPECT_TRUE(ResourceImages::bitmap(194).isNull()); // a menu, not a picture
    EXPECT_TRUE(ResourceImages::path(999).isEmpty());
}

TEST(ResourceImages, HeaderStripIsBlankUncheckedChecked)
{
    const QImage strip =
        withTransparentColor(ResourceImages::bitmap(130), QColor(255, 0, 255)).toImage();
    auto opaque = [&](int image) {
        int count = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = image * 16; x < image * 16 + 16; ++x)
                count += strip.pixelColor(x, y).alpha() == 255;
        return count;
    };
    EXPECT_EQ(opaque(0), 0);
    EXPECT_GT(opaque(1), 100);
    EXPECT_GT(opaque(2), opaque(1) - 1);
    int marks = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 32; x < 48; ++x)
            marks += strip.pixelColor(x, y) == QColor(0x20, 0x20, 0x20);
    EXPECT_EQ(marks, 21);
}
