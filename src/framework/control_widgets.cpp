#include "framework/control_widgets.h"

#include "framework/layer_texts.h"
#include "framework/svg_icon.h"
#include "framework/widgets/accessible_buttons.h"
#include "framework/widgets/accessible_combo.h"
#include "framework/widgets/accessible_field.h"
#include "framework/widgets/combo_widgets.h"
#include "framework/widgets/spin_arrows.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace kfg::framework {
namespace {

// Drops typed characters other than digits; text set by the program is not filtered, so a
// negative number loaded from a file still shows and reads back.
class DigitsOnlyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString typed = static_cast<QKeyEvent*>(event)->text();
            for (const QChar c : typed) {
                if (c.isPrint() && !c.isDigit()) {
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QWidget* CreateButton(const ControlTemplate& control, QRect rect, QWidget* window,
                      const Notify& notify) {
    QAbstractButton* button = nullptr;
    if (control.kind == ControlKind::PushButton || HasStyle(control, kPushLike)) {
        auto* push = new QPushButton(window);
        push->setAutoDefault(false);
        push->setCheckable(control.kind != ControlKind::PushButton);
        if (control.kind == ControlKind::RadioButton) {
            push->setAutoExclusive(true);
        }
        button = push;
    } else if (control.kind == ControlKind::CheckBox) {
        button = new QCheckBox(window);
    } else {
        button = new QRadioButton(window);
    }
    if (control.icon != 0) {
        button->setIcon(ResourceIcon(control.icon));
        const int side = std::min(rect.width(), rect.height()) * 3 / 4;
        button->setIconSize(QSize(side, side));
    }
    if (button->isCheckable()) {
        ToggleByClick(*button);
    }
    QObject::connect(button, &QAbstractButton::clicked, window,
                     [notify] { notify(Notification::Clicked); });
    button->setGeometry(rect);
    return button;
}

QWidget* CreateGroupBox(QRect rect, QWidget* window) {
    auto* group = new QGroupBox(window);
    group->setGeometry(rect);
    return group;
}

QWidget* CreateLabel(const ControlTemplate& control, QRect rect, QWidget* window) {
    auto* label = new QLabel(window);
    label->setAlignment((HasStyle(control, kCentered) ? Qt::AlignHCenter : Qt::AlignLeft) |
                        Qt::AlignTop);
    label->setWordWrap(HasStyle(control, kMultiLine));
    label->setGeometry(rect);
    return label;
}

QWidget* CreatePicture(const ControlTemplate& control, QRect rect, QWidget* window) {
    auto* picture = new QLabel(window);
    const int side = std::min(rect.width(), rect.height());
    picture->setPixmap(ResourceIcon(control.icon).pixmap(QSize(side, side)));
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(rect);
    return picture;
}

QWidget* CreateEdit(const ControlTemplate& control, QRect rect, QWidget* window,
                    const Notify& notify) {
    auto* edit = new QLineEdit(window);
    DescribeField(*edit);
    if (HasStyle(control, kReadOnly)) {
        // A read-only field serves as a label: no frame, no focus, the window's colour.
        edit->setReadOnly(true);
        edit->setFrame(false);
        edit->setFocusPolicy(Qt::NoFocus);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, Qt::transparent);
        edit->setPalette(palette);
    }
    if (HasStyle(control, kDigitsOnly)) {
        edit->installEventFilter(new DigitsOnlyFilter(edit));
    }
    QObject::connect(edit, &QLineEdit::textChanged, window,
                     [notify] { notify(Notification::EditChange); });
    edit->setGeometry(rect);
    return edit;
}

QWidget* CreateComboBox(const ControlTemplate& control, QRect rect, int editHeight, QWidget* window,
                        const Notify& notify) {
    if (HasStyle(control, kSimpleCombo)) {
        auto* simple = new SimpleCombo(editHeight, window);
        QObject::connect(simple, &SimpleCombo::selectionChosen, window,
                         [notify] { notify(Notification::ComboSelChange); });
        QObject::connect(simple, &SimpleCombo::textEdited, window,
                         [notify] { notify(Notification::ComboEditChange); });
        QObject::connect(simple, &SimpleCombo::doubleClicked, window,
                         [notify] { notify(Notification::ComboDoubleClick); });
        simple->setGeometry(rect);
        return simple;
    }
    auto* combo = new DropDownCombo(window);
    combo->setEditable(HasStyle(control, kEditable));
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(std::max(3, (control.rect.height - 12) / 8));
    DescribeDropDownList(*combo);
    QObject::connect(combo, &QComboBox::activated, window,
                     [notify] { notify(Notification::ComboSelChange); });
    QObject::connect(combo, &DropDownCombo::closedUp, window,
                     [notify] { notify(Notification::ComboCloseUp); });
    if (combo->lineEdit() != nullptr) {
        DescribeField(*combo->lineEdit());
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, window,
                         [notify] { notify(Notification::ComboEditChange); });
    }
    // The template's height includes the dropped-down list; the box itself is one line.
    rect.setHeight(editHeight);
    combo->setGeometry(rect);
    return combo;
}

SpinArrows* CreateSpin(const ControlTemplate& control, QRect rect, QLineEdit* buddy,
                       int arrowsWidth, const LayerTexts& texts, QWidget* window) {
    auto* spin = new SpinArrows(buddy, HasStyle(control, kSpinWraps), window);
    spin->SetArrowNames(QString::fromUtf8(texts.spinUp), QString::fromUtf8(texts.spinDown));
    if (buddy != nullptr) {
        const QRect field = buddy->geometry();
        buddy->setGeometry(field.adjusted(0, 0, -arrowsWidth, 0));
        rect = QRect(field.right() - arrowsWidth + 1, field.top(), arrowsWidth, field.height());
    }
    spin->setGeometry(rect);
    return spin;
}

} // namespace kfg::framework
