// The item operations of a running dialog: texts, numbers, check marks, visibility, focus,
// spin limits and accessible names, by control id.
#include "framework/caption_fit.h"
#include "framework/dialog.h"
#include "framework/dialog_controls.h"
#include "framework/widgets/combo_widgets.h"
#include "framework/widgets/spin_arrows.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace kfg::framework {
namespace {

// Qt tells screen readers of every name given, changed or not; the start names each control
// several times over while it fills in the values.
void RenameForScreenReaders(QWidget& widget, const QString& name) {
    if (widget.accessibleName() != name) {
        widget.setAccessibleName(name);
    }
}

// A caption is only read once its control can be seen, and fitting it measures its text: such a
// caption is fitted as the window shows, and a control hidden then when it is shown. Fields and
// lists hold values that are read back, so theirs go in at once.
bool FittedWhenSeen(const ControlTemplate& control) {
    switch (control.kind) {
    case ControlKind::Edit:
        return HasStyle(control, kReadOnly);
    case ControlKind::ComboBox:
    case ControlKind::Spin:
        return false;
    default:
        return true;
    }
}

} // namespace

void Dialog::ApplyCaption(int id, const QString& text) {
    if (!controls_) {
        return;
    }
    controls_->captions[id] = text;
    const auto found = controls_->templates.find(id);
    if (found == controls_->templates.end()) {
        return;
    }
    QWidget* widget = Item(id);
    if (FittedWhenSeen(*found->second) && (!controls_->window->isVisible() || widget->isHidden())) {
        controls_->unfitted.insert(id);
        return;
    }
    controls_->unfitted.erase(id);
    FitCaption(widget, *found->second, text);
}

void Dialog::FitSeenCaptions() {
    std::set<int>& unfitted = controls_->unfitted;
    for (auto it = unfitted.begin(); it != unfitted.end();) {
        QWidget* widget = Item(*it);
        if (widget->isHidden()) {
            ++it;
            continue;
        }
        FitCaption(widget, *controls_->templates[*it], controls_->captions[*it]);
        it = unfitted.erase(it);
    }
}

QString Dialog::ItemText(int id) const {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return {};
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !edit->isReadOnly()) {
        return edit->text();
    }
    if (auto* simple = qobject_cast<SimpleCombo*>(widget)) {
        return simple->Edit()->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentText();
    }
    const auto caption = controls_->captions.find(id);
    return caption == controls_->captions.end() ? QString() : caption->second;
}

void Dialog::SetItemText(int id, const QString& text) {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return;
    }
    ApplyCaption(id, text);
    UpdateAccessibleName(id); // and those it names follow the text shown now
}

void Dialog::SetItemInt(int id, int value) {
    SetItemText(id, QString::number(value));
}

int Dialog::CheckState(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(Item(id));
    return button != nullptr && button->isChecked() ? 1 : 0;
}

void Dialog::SetCheck(int id, int state) {
    if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
        button->setChecked(state != 0);
    }
}

void Dialog::ShowItem(int id, bool show) {
    if (QWidget* widget = Item(id)) {
        widget->setHidden(!show);
        if (show && controls_->window->isVisible()) {
            FitSeenCaptions();
        }
    }
}

bool Dialog::IsItemShown(int id) const {
    QWidget* widget = Item(id);
    return widget != nullptr && !widget->isHidden();
}

void Dialog::EnableItem(int id, bool enable) {
    if (QWidget* widget = Item(id)) {
        widget->setEnabled(enable);
    }
}

bool Dialog::IsItemEnabled(int id) const {
    QWidget* widget = Item(id);
    return widget != nullptr && widget->isEnabled();
}

void Dialog::SetItemIcon(int id, const QIcon& icon) {
    if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
        button->setIcon(icon);
    }
}

void Dialog::SetFocusTo(int id, bool selectAll) {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return;
    }
    widget->setFocus(Qt::OtherFocusReason);
    if (!selectAll) {
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    }
}

void Dialog::SetSpinRange(int id, int low, int high) {
    if (!controls_) {
        return;
    }
    const auto found = controls_->spins.find(id);
    if (found != controls_->spins.end()) {
        found->second->SetRange(low, high);
    }
}

void Dialog::SetAccessibleName(int id, const QString& name) {
    accessibleNames_[id] = name;
    UpdateAccessibleName(id);
}

void Dialog::RefreshAccessibleNames() {
    if (!controls_) {
        return;
    }
    for (const auto& [id, widget] : controls_->byId) {
        UpdateAccessibleName(id);
    }
}

void Dialog::SetLanguage(texts::TextLanguage language) {
    language_ = language;
    if (QWidget* window = Window()) {
        const LayerTexts& texts = TextsFor(language);
        for (SpinArrows* spin : window->findChildren<SpinArrows*>()) {
            spin->SetArrowNames(QString::fromUtf8(texts.spinUp), QString::fromUtf8(texts.spinDown));
        }
    }
}

void Dialog::UpdateAccessibleName(int id) {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return;
    }
    QString name;
    if (const auto set = accessibleNames_.find(id); set != accessibleNames_.end()) {
        name = set->second;
    } else if (const ControlTemplate* control = controls_->templates[id]; control->buddy != 0) {
        // A spin or a field takes the name of what labels it.
        name = control->kind == ControlKind::Spin ? Item(control->buddy)->accessibleName()
                                                  : ItemText(control->buddy);
    } else if ((control->kind != ControlKind::Edit || HasStyle(*control, kReadOnly)) &&
               control->kind != ControlKind::ComboBox) {
        name = ItemText(id); // a read-only field serves as a label: its text names it
    }
    // A box made of parts gives its name to the parts that take focus.
    name = name.simplified();
    RenameForScreenReaders(*widget, name);
    if (auto* simple = qobject_cast<SimpleCombo*>(widget)) {
        simple->SetAccessibleName(name);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
        RenameForScreenReaders(*combo->lineEdit(), name);
    }
    // What this control names (a field its label, a spin its field) follows.
    const auto [first, last] = controls_->named.equal_range(id);
    for (auto it = first; it != last; ++it) {
        UpdateAccessibleName(it->second);
    }
}

} // namespace kfg::framework
