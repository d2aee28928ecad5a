#include "framework/application_icon.h"

#include <QApplication>
#include <QEvent>
#include <QIconEngine>
#include <QPainter>
#include <QWidget>
#include <utility>

namespace kfg::framework {
namespace {

// Title bars and task bars; window switchers want the larger ones.
constexpr int kLargestSideBeforeFirstPaint = 32;

// Draws what `icon` draws and offers only its sizes up to `largestSide`.
class SizesUpToEngine final : public QIconEngine {
public:
    SizesUpToEngine(QIcon icon, int largestSide)
        : icon_(std::move(icon))
        , largestSide_(largestSide) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon_.pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon_.actualSize(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon_.paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes = icon_.availableSizes(mode, state);
        if (sizes.isEmpty()) { // scalable: the sizes X11 windows are given otherwise
            sizes = {QSize(16, 16), QSize(32, 32), QSize(64, 64), QSize(128, 128)};
        }
        sizes.removeIf([this](const QSize& size) {
            return size.width() > largestSide_ || size.height() > largestSide_;
        });
        return sizes;
    }
    bool isNull() override { return icon_.isNull(); }
    QString key() const override { return QStringLiteral("kfg-sizes-up-to"); }
    QIconEngine* clone() const override { return new SizesUpToEngine(*this); }

private:
    QIcon icon_;
    int largestSide_;
};

// Gives the application its whole icon once a window has painted, then goes.
class WholeIconAfterFirstPaint final : public QObject {
public:
    WholeIconAfterFirstPaint(QIcon icon, QObject* parent)
        : QObject(parent)
        , icon_(std::move(icon)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            QApplication::instance()->removeEventFilter(this);
            // Queued, so that the frame reaches the screen first.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    QApplication::setWindowIcon(icon_);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QIcon icon_;
};

} // namespace

void SetApplicationIcon(const QIcon& icon) {
    QApplication::setWindowIcon(QIcon(new SizesUpToEngine(icon, kLargestSideBeforeFirstPaint)));
    QApplication::instance()->installEventFilter(
        new WholeIconAfterFirstPaint(icon, QApplication::instance()));
}

} // namespace kfg::framework
