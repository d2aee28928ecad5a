#include "framework/widgets/accessible_buttons.h"

#include "framework/widgets/accessible_factory.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QPushButton>

namespace kfg::framework {
namespace {

// Captions are set with "&" doubled, so "&&" stands for "&" and a lone "&" for nothing.
QString WithoutMnemonic(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i == text.size()) {
            break;
        }
        plain += text[i];
    }
    return plain;
}

// What a screen reader sees of a check box or radio button: as Qt describes buttons, except
// that Toggle clicks.
class ClickingToggle final : public QAccessibleWidget {
public:
    explicit ClickingToggle(QAbstractButton* button)
        : QAccessibleWidget(button) {
        addControllingSignal(QStringLiteral("toggled(bool)"));
    }

    QAccessible::Role role() const override {
        return Button()->autoExclusive() ? QAccessible::RadioButton : QAccessible::CheckBox;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? WithoutMnemonic(Button()->text()) : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        state.pressed = Button()->isDown();
        if (auto* push = qobject_cast<QPushButton*>(Button()); push && push->isDefault()) {
            state.defaultButton = true;
        }
        return state;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            names << toggleAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (!widget()->isEnabled()) {
            return;
        }
        if (action == toggleAction()) {
            Button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

} // namespace

void ToggleByClick(QAbstractButton& button) {
    DescribeAs<ClickingToggle>(button);
}

} // namespace kfg::framework
