#include "CImageButton.h"
#include "ResourceImages.h"
#include "SystemColors.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

QPixmap solid(const QColor& colour, QSize size = QSize(40, 48))
{
    QPixmap picture(size);
    picture.fill(colour);
    return picture;
}

// A button inside a window, so that the mouse can come and go.
class ImageButtonFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(200, 120);
        button = new CImageButton(window.get());
        button->setGeometry(60, 30, 40, 48);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        colors = SystemColors::fromPalette(button->palette());
    }

    QColor pixel(QPoint at) const { return button->grab().toImage().pixelColor(at); }
    void hover(QPoint at = QPoint(20, 10)) { QTest::mouseMove(button, at); }
    void leave() { QTest::mouseMove(window.get(), QPoint(5, 5)); }

    std::unique_ptr<QWidget> window;
    CImageButton* button = nullptr;
    SystemColors colors;
};

} // namespace

TEST_F(ImageButtonFixture, ThreePicturesFollowTheState)
{
    const QColor black(0, 0, 0);
    ASSERT_EQ(
        button->SetBitmaps(solid(Qt::red), black, solid(Qt::green), black, solid(Qt::blue), black),
        0);
    button->SetAlign(CImageButton::ImageCovers);
    EXPECT_EQ(button->PressedOffset(), QPoint(0, 0));
    QSignalSpy clicked(button, &QAbstractButton::clicked);

    EXPECT_EQ(pixel(QPoint(20, 10)), QColor(Qt::green));
    hover();
    EXPECT_TRUE(button->IsHovered());
    EXPECT_EQ(pixel(QPoint(20, 10)), QColor(Qt::red));
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(pixel(QPoint(20, 10)), QColor(Qt::blue));
    EXPECT_EQ(pixel(QPoint(0, 0)), QColor(Qt::blue)); // no border over three pictures
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(pixel(QPoint(20, 10)), QColor(Qt::red));
    EXPECT_EQ(clicked.count(), 1);
    leave();
    EXPECT_FALSE(button->IsHovered());
    EXPECT_EQ(pixel(QPoint(20, 10)), QColor(Qt::green));
}

TEST_F(ImageButtonFixture, TransparentColourLetsTheBackgroundThrough)
{
    QPixmap normal = solid(Qt::black);
    {
        QPainter painter(&normal);
        painter.fillRect(10, 10, 5, 5, Qt::green);
    }
    button->SetBitmaps(normal, Qt::black, normal, Qt::black, normal, Qt::black);
    button->SetAlign(CImageButton::ImageCovers);
    const QImage image = window->grab(button->geometry()).toImage();
    EXPECT_EQ(image.pixelColor(12, 12), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(30, 30).rgb(), window->palette().color(QPalette::Window).rgb());
}

TEST_F(ImageButtonFixture, LabelSitsCentredAtTheBottom)
{
    button->SetBitmaps(solid(Qt::red), Qt::black, solid(Qt::green), Qt::black, solid(Qt::blue),
                       Qt::black);
    button->SetAlign(CImageButton::ImageCovers);
    button->setText(QStringLiteral("Add"));
    const QImage image = button->grab().toImage();
    int top = image.height();
    int bottom = -1;
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::green)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_GT(top, image.height() / 2);
    EXPECT_GE(bottom, image.height() - 1 - CImageButton::kMargin - 4);
    EXPECT_NEAR((left + right) / 2.0, image.width() / 2.0, 2.0);
}

TEST_F(ImageButtonFixture, DisabledLabelIsEmbossed)
{
    button->setText(QStringLiteral("Stop"));
    button->setEnabled(false);
    const QImage image = button->grab().toImage();
    // The shadow-coloured text, and a copy lighter than the face one pixel down-right.
    const int face = colors.buttonFace.lightness();
    QRect dark;
    QRect light;
    int black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int l = image.pixelColor(x, y).lightness();
            if (l < face - 60)
                dark |= QRect(x, y, 1, 1);
            if (l > face + 4)
                light |= QRect(x, y, 1, 1);
            black += l < colors.buttonShadow.lightness() - 40;
        }
    ASSERT_TRUE(dark.isValid());
    ASSERT_TRUE(light.isValid());
    EXPECT_NEAR(light.left() - dark.left(), 1, 1);
    EXPECT_NEAR(light.top() - dark.top(), 1, 1);
    EXPECT_NEAR(light.right() - dark.right(), 1, 1);
    EXPECT_NEAR(light.bottom() - dark.bottom(), 1, 1);
    EXPECT_EQ(black, 0); // never in the plain text colour
}

TEST_F(ImageButtonFixture, AlignmentAbove3IsRefused)
{
    const struct
    {
        int align;
        int result;
        int after;
    } cases[] = {{1, 0, 1}, {4, 4, 1}, {3, 0, 3}, {-1, 4, 3}, {7, 4, 3}, {0, 0, 0}, {2, 0, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(button->SetAlign(c.align), c.result) << c.align;
        EXPECT_EQ(button->GetAlign(), c.after) << c.align;
    }
}

TEST_F(ImageButtonFixture, FlatIconButtonRaisesSinksAndMovesItsIcon)
{
    button->setGeometry(60, 30, 24, 24);
    button->SetIcon(QIcon(solid(Qt::magenta, QSize(10, 10))), QSize(10, 10));
    button->SetAlign(CImageButton::ImageTop);
    auto iconTopLeft = [&] {
        const QImage image = button->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(Qt::magenta))
                    return QPoint(x, y);
        return QPoint(-1, -1);
    };
    const QPoint rest = iconTopLeft();
    EXPECT_EQ(rest, QPoint(7, 7)); // no text: centred both ways
    EXPECT_EQ(pixel(QPoint(0, 0)).rgb(), colors.buttonFace.rgb());

    hover(QPoint(12, 12));
    EXPECT_EQ(pixel(QPoint(0, 0)).rgb(), colors.buttonHighlight.rgb());
    EXPECT_EQ(pixel(QPoint(23, 23)).rgb(), colors.buttonShadow.rgb());
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(12, 12));
    EXPECT_EQ(pixel(QPoint(0, 0)).rgb(), colors.buttonShadow.rgb());
    EXPECT_EQ(pixel(QPoint(23, 23)).rgb(), colors.buttonHighlight.rgb());
    EXPECT_EQ(iconTopLeft(), rest + QPoint(1, 1));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(12, 12));
    leave();
    EXPECT_EQ(pixel(QPoint(0, 0)).rgb(), colors.buttonFace.rgb());
    EXPECT_EQ(iconTopLeft(), rest);
}

TEST_F(ImageButtonFixture, PressedButtonDraggedOffDoesNotHover)
{
    button->SetIcon(QIcon(solid(Qt::magenta, QSize(10, 10))), QSize(10, 10));
    QTest::mousePress(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), button->mapToGlobal(QPointF(10, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    EXPECT_FALSE(button->IsHovered());
    QTest::mouseRelease(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

TEST_F(ImageButtonFixture, SpaceKeyClicks)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    window->activateWindow();
    button->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ImageButtonFixture, DoubleClickCountsAsTwoClicks)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    // As the system delivers it: press, release, double click, release.
    const QPoint at(10, 10);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(at), button->mapToGlobal(QPointF(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &dbl);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_FALSE(button->isDown());
}

TEST_F(ImageButtonFixture, InactiveTooltipKeepsItsText)
{
    button->SetTooltipText(QStringLiteral("Start convert"), false);
    EXPECT_TRUE(button->toolTip().isEmpty());
    EXPECT_EQ(button->TooltipText(), "Start convert");
    button->SetTooltipText(QStringLiteral("Start convert"), true);
    EXPECT_EQ(button->toolTip(), "Start convert");
}

TEST(ImageButtonPictures, ToolButtonsLoadTheirOwnPictures)
{
    const int sets[][3] = {
        {152, 153, 154}, {164, 158, 166}, {155, 156, 157}, {167, 168, 169}, {170, 171, 172}};
    for (const auto& set : sets) {
        CImageButton button;
        EXPECT_EQ(button.SetBitmaps(set[0], Qt::black, set[1], Qt::black, set[2], Qt::black), 0);
        EXPECT_EQ(button.sizeHint(), QSize(52, 48)) << set[0];
        button.resize(button.sizeHint());
        const QImage image = button.grab().toImage();
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += image.pixelColor(x, y) != button.palette().color(QPalette::Window);
        EXPECT_GT(drawn, 100) << set[0];
    }
    for (int id : {190, 191, 192}) {
        CImageButton button;
        button.SetIcon(id);
        EXPECT_EQ(button.sizeHint(),
                  QSize(16 + 2 * CImageButton::kMargin, 16 + 2 * CImageButton::kMargin))
            << id;
    }
    // A missing picture leaves the button with its label only.
    CImageButton missing;
    EXPECT_EQ(missing.SetBitmaps(1, Qt::black, 2, Qt::black, 3, Qt::black), 0);
    EXPECT_TRUE(ResourceImages::bitmap(2).isNull());
}

TEST_F(ImageButtonFixture, AFocusFrameShowsWhenTheKeyboardBringsTheFocus)
{
    const QColor black(0, 0, 0);
    button->SetBitmaps(solid(Qt::red), black, solid(Qt::green), black, solid(Qt::blue), black);
    button->SetAlign(CImageButton::ImageCovers);
    auto* before = new QWidget(window.get());
    before->setFocusPolicy(Qt::StrongFocus);
    before->setGeometry(0, 0, 10, 10);
    before->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto framePixels = [this] {
        const QImage image = button->grab().toImage();
        int count = 0;
        for (int x = 0; x < image.width(); ++x) // along the frame's line, 3 pixels in
            count += image.pixelColor(x, 3) != QColor(Qt::green);
        return count;
    };

    button->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(button->ShowsFocusFrame());
    EXPECT_EQ(framePixels(), 0);
    before->setFocus(Qt::OtherFocusReason);
    button->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(button->ShowsFocusFrame());
    EXPECT_GT(framePixels(), 10);

    // A key pressed on a button focused by the mouse shows the frame too.
    button->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(button, Qt::Key_Shift);
    EXPECT_TRUE(button->ShowsFocusFrame());
}
