#pragma once

// The widgets that stand for a template's controls, one maker per kind. Each is created as a
// child of the dialog's window, placed at `rect` (pixels), and raises its notifications
// through `notify`.

#include "framework/dialog_template.h"
#include "framework/notification.h"

#include <QRect>
#include <functional>

class QWidget;
class QLineEdit;

namespace kfg::framework {

class SpinArrows;
struct LayerTexts;

using Notify = std::function<void(Notification)>;

// Push buttons (and push-like check boxes and radio buttons), check boxes, radio buttons.
QWidget* CreateButton(const ControlTemplate& control, QRect rect, QWidget* window,
                      const Notify& notify);
QWidget* CreateGroupBox(QRect rect, QWidget* window);
QWidget* CreateLabel(const ControlTemplate& control, QRect rect, QWidget* window);
QWidget* CreatePicture(const ControlTemplate& control, QRect rect, QWidget* window);
QWidget* CreateEdit(const ControlTemplate& control, QRect rect, QWidget* window,
                    const Notify& notify);
// A drop-down list (one line of `editHeight` high), or a simple combo box whose list fills the
// rest of `rect`.
QWidget* CreateComboBox(const ControlTemplate& control, QRect rect, int editHeight, QWidget* window,
                        const Notify& notify);
// Arrows inside the right edge of `buddy`, which gives up that room; without a buddy at
// `rect`.
SpinArrows* CreateSpin(const ControlTemplate& control, QRect rect, QLineEdit* buddy,
                       int arrowsWidth, const LayerTexts& texts, QWidget* window);

} // namespace kfg::framework
