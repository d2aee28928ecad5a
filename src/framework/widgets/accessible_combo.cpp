#include "framework/widgets/accessible_combo.h"

#include "framework/widgets/accessible_factory.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>

namespace kfg::framework {
namespace {

// A drop-down list as assistive technology sees it: the list's popup as first child and, for
// an editable list, its field as second. The position of the entry shown is its value, so
// that a change of entry reaches a screen reader as a change of value.
class DropDownList final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit DropDownList(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            return SpokenName();
        case QAccessible::Value:
            return Shown();
        case QAccessible::Accelerator:
            return QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(t);
        }
    }

    int childCount() const override { return Combo()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0) {
            return QAccessible::queryAccessibleInterface(Combo()->view());
        }
        if (index == 1 && Combo()->isEditable()) {
            return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        if (child->object() == Combo()->view()) {
            return 0;
        }
        return Combo()->isEditable() && child->object() == Combo()->lineEdit() ? 1 : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        // Screen coordinates: only the field is a part one can point at.
        QLineEdit* field = Combo()->lineEdit();
        if (field != nullptr &&
            QRect(field->mapToGlobal(QPoint(0, 0)), field->size()).contains(x, y)) {
            return child(1);
        }
        return nullptr;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    QString localizedActionDescription(const QString& action) const override {
        if (action == showMenuAction() || action == pressAction()) {
            return QComboBox::tr("Open the combo box selection popup");
        }
        return {};
    }

    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            return;
        }
        if (Combo()->view()->isVisible()) {
            Combo()->hidePopup();
        } else {
            Combo()->showPopup();
        }
    }

    QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

    // The value: the position of the entry shown, -1 for none.
    QVariant currentValue() const override { return Combo()->currentIndex(); }
    void setCurrentValue(const QVariant& value) override {
        // As a choice with the arrow keys: the entry is shown and the choice reported.
        const int index = value.toInt();
        if (widget()->isEnabled() && index >= 0 && index < Combo()->count()) {
            Combo()->setCurrentIndex(index);
            emit Combo()->activated(index);
        }
    }
    QVariant maximumValue() const override { return Combo()->count() - 1; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
    QString Shown() const {
        return Combo()->isEditable() ? Combo()->lineEdit()->text() : Combo()->currentText();
    }
    // The label followed by the entry shown. A screen reader speaks the name whenever the
    // focus comes and the value changes, but finds no entry of its own: the platform's
    // accessibility bridge offers no selection to read it from. An editable list's field
    // speaks its text itself, so there the label stays alone.
    QString SpokenName() const {
        const QString label = widget()->accessibleName();
        const QString shown = Shown();
        if (label.isEmpty() || Combo()->isEditable() || shown.isEmpty()) {
            return label.isEmpty() ? shown : label;
        }
        return label + QStringLiteral(", ") + shown;
    }
};

} // namespace

void DescribeDropDownList(QComboBox& combo) {
    DescribeAs<DropDownList>(combo);
    // The name holds the entry: told before the change of value, so that a screen reader
    // that keeps names reads the new one.
    QObject::connect(&combo, &QComboBox::currentTextChanged, &combo, [&combo] {
        if (QAccessible::isActive()) {
            QAccessibleEvent changed(&combo, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
    });
}

} // namespace kfg::framework
