#include "CLinkStatic.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

class LinkFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 80);
        link = new CLinkStatic(QStringLiteral("https://tovel.example.org/"), window.get());
        link->move(20, 20);
        link->SetOpener([this](const QString& address) {
            opened << address;
            return result;
        });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Pixels of `colour`, and whether some row of them is long enough to be an underline.
    struct Ink
    {
        int pixels = 0;
        bool underline = false;
    };
    Ink ink(const QColor& colour) const
    {
        const QImage image = link->grab().toImage();
        Ink found;
        for (int y = 0; y < image.height(); ++y) {
            int row = 0;
            for (int x = 0; x < image.width(); ++x)
                row += image.pixelColor(x, y).rgb() == colour.rgb();
            found.pixels += row;
            found.underline = found.underline || row > image.width() * 8 / 10;
        }
        return found;
    }
    void hover() { QTest::mouseMove(link, QPoint(5, link->height() / 2)); }
    void leave() { QTest::mouseMove(window.get(), QPoint(5, 70)); }
    void click() { QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5)); }

    // Clicks the link and returns the text of the message box it shows (closing it), or an
    // empty text when none appears.
    QString clickAndReadMessage()
    {
        QString text;
        QTimer::singleShot(0, [&text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                EXPECT_EQ(box->icon(), QMessageBox::Warning);
                box->accept();
            }
        });
        click();
        QTest::qWait(0);
        return text;
    }

    std::unique_ptr<QWidget> window;
    CLinkStatic* link = nullptr;
    QStringList opened;
    int result = 42;
};

} // namespace

TEST_F(LinkFixture, AddressComesFromTheTextAndShowsAsTooltip)
{
    EXPECT_EQ(link->Address(), "https://tovel.example.org/");
    EXPECT_EQ(link->toolTip(), "https://tovel.example.org/");
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    // Fitted to its text.
    EXPECT_EQ(link->width(), link->fontMetrics().horizontalAdvance(link->text()));

    CLinkStatic empty;
    empty.SetAddress(QStringLiteral("https://example.org/a"));
    EXPECT_EQ(empty.text(), "https://example.org/a");
}

TEST_F(LinkFixture, ColoursAndUnderlineModes)
{
    // -1: underlined only while hovered, red while hovered.
    Ink normal = ink(CLinkStatic::linkColor());
    EXPECT_GT(normal.pixels, 0);
    EXPECT_FALSE(normal.underline);
    hover();
    EXPECT_TRUE(link->IsHovering());
    const Ink hovered = ink(CLinkStatic::hoverColor());
    EXPECT_GT(hovered.pixels, 0);
    EXPECT_TRUE(hovered.underline);
    EXPECT_EQ(ink(CLinkStatic::linkColor()).pixels, 0);
    leave();
    EXPECT_FALSE(link->IsHovering());
    EXPECT_FALSE(ink(CLinkStatic::linkColor()).underline);

    // 1: always.
    link->SetUnderline(1);
    EXPECT_TRUE(ink(CLinkStatic::linkColor()).underline);
    hover();
    EXPECT_TRUE(ink(CLinkStatic::hoverColor()).underline);
    leave();
    EXPECT_TRUE(ink(CLinkStatic::linkColor()).underline);

    // 0: never.
    link->SetUnderline(0);
    hover();
    EXPECT_FALSE(ink(CLinkStatic::hoverColor()).underline);
    leave();

    link->SetUnderline(5);
    EXPECT_EQ(link->Underline(), 0);
}

TEST_F(LinkFixture, SuccessfulOpenMarksTheLinkVisited)
{
    result = 42;
    EXPECT_TRUE(clickAndReadMessage().isEmpty());
    EXPECT_EQ(opened, QStringList{"https://tovel.example.org/"});
    EXPECT_TRUE(link->IsVisited());
    leave();
    EXPECT_GT(ink(CLinkStatic::visitedColor()).pixels, 0);
}

TEST_F(LinkFixture, FailedOpenExplainsAndStaysUnvisited)
{
    const struct
    {
        int result;
        const char* text;
    } cases[] = {
        {31, "There is no application associated\nwith the given filename extension."},
        {2, "The specified file was not found."},
        {26, "A sharing violation occurred. "},
        {0, "The operating system is out\nof memory or resources."},
        {4, "Unknown Error (4) occurred."},
    };
    for (const auto& c : cases) {
        result = c.result;
        EXPECT_EQ(clickAndReadMessage(),
                  QStringLiteral("Unable to open hyperlink:\n\n") + QString::fromLatin1(c.text))
            << c.result;
        EXPECT_FALSE(link->IsVisited());
    }
    EXPECT_EQ(opened.size(), 5);
}

TEST_F(LinkFixture, EmptyAddressOpensNothing)
{
    link->SetAddress(QString());
    click();
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(LinkFixture, ReleaseOutsideIsNoClick)
{
    QTest::mousePress(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, link->height() + 30));
    EXPECT_TRUE(opened.isEmpty());
}
