#pragma once

#include "framework/dialog_template.h"

#include <QString>

class QWidget;

namespace kfg::framework {

// Shows `text` as the caption of a control built from `control`. A caption that does not fit
// its control wraps where the control is multi-line and is elided otherwise, with the whole
// text as its tooltip; blanks at either end do not count. Group boxes, editable fields and
// combo boxes show the text as it is; pictures and icon buttons keep their picture.
void FitCaption(QWidget* widget, const ControlTemplate& control, const QString& text);

} // namespace kfg::framework
