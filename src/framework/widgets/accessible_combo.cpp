#include "framework/widgets/accessible_combo.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>

namespace kfg::framework {
namespace {

constexpr const char* kNameByLabel = "kfgNameByLabel";

// A drop-down list as assistive technology sees it: the list's popup as first child and, for
// an editable list, its field as second.
class LabelledCombo final : public QAccessibleWidget {
public:
    explicit LabelledCombo(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: {
            const QString name = QAccessibleWidget::text(t);
            // A list nobody named still says something: what it shows.
            return name.isEmpty() ? Shown() : name;
        }
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

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
    QString Shown() const {
        return Combo()->isEditable() ? Combo()->lineEdit()->text() : Combo()->currentText();
    }
};

QAccessibleInterface* LabelledComboFactory(const QString& /*className*/, QObject* object) {
    auto* combo = qobject_cast<QComboBox*>(object);
    if (combo == nullptr || !combo->property(kNameByLabel).toBool()) {
        return nullptr;
    }
    return new LabelledCombo(combo);
}

} // namespace

void NameByLabel(QComboBox& combo) {
    // Factories installed later are asked first, so this one comes before Qt's own.
    static const bool installed = [] {
        QAccessible::installFactory(&LabelledComboFactory);
        return true;
    }();
    static_cast<void>(installed);
    combo.setProperty(kNameByLabel, true);
}

} // namespace kfg::framework
