#include "framework/dialog_units.h"

#include <QFontMetricsF>
#include <cmath>

namespace kfg::framework {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    averageCharWidth_ = metrics.horizontalAdvance(kLetters) / kLetters.size();
    lineHeight_ = metrics.height();
}

int DialogUnits::X(int units) const {
    return static_cast<int>(std::lround(units * averageCharWidth_ / 4.0));
}

int DialogUnits::Y(int units) const {
    return static_cast<int>(std::lround(units * lineHeight_ / 8.0));
}

QRect DialogUnits::ToPixels(const DlgRect& rect) const {
    // Convert both edges, so that neighbouring controls stay flush after rounding.
    const int left = X(rect.x);
    const int top = Y(rect.y);
    return QRect(left, top, X(rect.x + rect.width) - left, Y(rect.y + rect.height) - top);
}

} // namespace kfg::framework
