#pragma once

#include "framework/dialog_template.h"

#include <QFont>
#include <QRect>

namespace kfg::framework {

// Turns dialog units into pixels for a font: x by a quarter of the average width of A-Z and
// a-z, y by an eighth of the line height. The layout follows the font and the screen's scale.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect ToPixels(const DlgRect& rect) const;

private:
    double averageCharWidth_;
    double lineHeight_;
};

} // namespace kfg::framework
