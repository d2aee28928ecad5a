#include "framework/svg_icon.h"

#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <map>
#include <memory>
#include <tuple>

namespace kfg::framework {
namespace {

// Draws the file at the size asked for, keeping its aspect ratio, on a transparent image;
// other modes than Normal come from the style, as for any icon given one picture.
class SvgIconEngine final : public QIconEngine {
public:
    explicit SvgIconEngine(const QString& path)
        : renderer_(std::make_shared<QSvgRenderer>(path)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const auto key = std::make_tuple(size.width(), size.height(), static_cast<int>(mode),
                                         static_cast<int>(state));
        if (const auto found = drawn_->find(key); found != drawn_->end()) {
            return found->second;
        }
        QPixmap drawn = Draw(size);
        if (!drawn.isNull() && mode != QIcon::Normal && QApplication::style() != nullptr) {
            QStyleOption option(0);
            option.palette = QGuiApplication::palette();
            drawn = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
        }
        if (!drawn.isNull()) {
            drawn_->emplace(key, drawn);
        }
        return drawn;
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return pixmap(size, mode, state).size();
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        QSize size = rect.size();
        if (painter->device() != nullptr) {
            size *= painter->device()->devicePixelRatio();
        }
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

    bool isNull() override { return !renderer_->isValid(); }
    QString key() const override { return QStringLiteral("kfg-svg"); }
    QIconEngine* clone() const override { return new SvgIconEngine(*this); }

private:
    QPixmap Draw(const QSize& size) const {
        if (!renderer_->isValid()) {
            return {};
        }
        QSize actual = renderer_->defaultSize();
        if (!actual.isNull()) {
            actual.scale(size, Qt::KeepAspectRatio);
        }
        if (actual.isEmpty()) {
            return {};
        }
        QImage image(actual, QImage::Format_ARGB32_Premultiplied);
        image.fill(0x00000000);
        QPainter painter(&image);
        renderer_->render(&painter);
        painter.end();
        return QPixmap::fromImage(image);
    }

    using Key = std::tuple<int, int, int, int>;
    // Shared by the copies Qt makes of an icon, so each size is drawn once.
    std::shared_ptr<QSvgRenderer> renderer_;
    std::shared_ptr<std::map<Key, QPixmap>> drawn_ = std::make_shared<std::map<Key, QPixmap>>();
};

std::map<QString, QIcon>& Icons() {
    static std::map<QString, QIcon> icons;
    return icons;
}

// Pictures must go before the application does.
void ForgetIcons() {
    Icons().clear();
}

} // namespace

QIcon SvgIcon(const QString& path) {
    std::map<QString, QIcon>& icons = Icons();
    if (const auto found = icons.find(path); found != icons.end()) {
        return found->second;
    }
    if (icons.empty()) {
        qAddPostRoutine(ForgetIcons);
    }
    return icons.emplace(path, QIcon(new SvgIconEngine(path))).first->second;
}

QIcon ResourceIcon(int id) {
    return SvgIcon(QStringLiteral(":/icons/%1.svg").arg(id));
}

} // namespace kfg::framework
