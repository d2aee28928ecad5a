// The application's icon: small sizes while the first window is on its way, all of them after.
#include "framework/application_icon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace kfg::framework {
namespace {

std::vector<int> SidesOffered(const QIcon& icon) {
    std::vector<int> sides;
    for (const QSize& size : icon.availableSizes()) {
        sides.push_back(size.width());
    }
    return sides;
}

// Draws at any size and names none, as an SVG icon does.
class Scalable final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/,
               QIcon::State /*state*/) override {
        painter->fillRect(rect, Qt::darkCyan);
    }
    QIconEngine* clone() const override { return new Scalable(*this); }
};

QIcon IconOfSides(const std::vector<int>& sides) {
    QIcon icon;
    for (const int side : sides) {
        QPixmap picture(side, side);
        picture.fill(Qt::darkCyan);
        icon.addPixmap(picture);
    }
    return icon;
}

TEST(ApplicationIcon, TheLargeSizesFollowTheFirstPaint) {
    const QIcon icon = IconOfSides({16, 24, 32, 48, 64, 128, 256});
    SetApplicationIcon(icon);
    EXPECT_EQ(SidesOffered(QApplication::windowIcon()), (std::vector<int>{16, 24, 32}));

    QWidget window;
    window.show();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QApplication::windowIcon().cacheKey() == icon.cacheKey(); }, 5000));
    EXPECT_EQ(SidesOffered(window.windowIcon()), (std::vector<int>{16, 24, 32, 48, 64, 128, 256}));
}

TEST(ApplicationIcon, AScalableIconOffersTheSmallSizesWindowsAreGiven) {
    SetApplicationIcon(QIcon(new Scalable));
    EXPECT_EQ(SidesOffered(QApplication::windowIcon()), (std::vector<int>{16, 32}));
}

} // namespace
} // namespace kfg::framework
