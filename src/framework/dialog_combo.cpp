// The combo-box operations of a running dialog: drop-down lists and simple combo boxes alike.
#include "framework/dialog.h"
#include "framework/dialog_controls.h"
#include "framework/widgets/combo_widgets.h"

#include <QComboBox>
#include <QListWidget>

namespace kfg::framework {

namespace {

QComboBox* AsCombo(QWidget* widget) {
    return qobject_cast<QComboBox*>(widget);
}
QListWidget* AsSimpleList(QWidget* widget) {
    auto* simple = qobject_cast<SimpleCombo*>(widget);
    return simple != nullptr ? simple->List() : nullptr;
}

} // namespace

int Dialog::ComboAddString(int id, const QString& text) {
    QWidget* widget = Item(id);
    const auto found =
        controls_ ? controls_->templates.find(id) : decltype(controls_->templates.end()){};
    const bool sorted =
        controls_ && found != controls_->templates.end() && HasStyle(*found->second, kSorted);
    int at = ComboCount(id);
    if (sorted) {
        at = 0;
        while (at < ComboCount(id) &&
               ComboItemText(id, at).compare(text, Qt::CaseInsensitive) <= 0) {
            ++at;
        }
    }
    if (QComboBox* combo = AsCombo(widget)) {
        // An entry added is not a choice made: a list without a selection keeps none, and an
        // editable box keeps its typed text.
        const bool hadSelection = combo->currentIndex() >= 0;
        const QString typed = combo->currentText();
        combo->insertItem(at, text);
        if (!hadSelection) {
            combo->setCurrentIndex(-1);
            if (combo->isEditable()) {
                combo->setEditText(typed);
            }
        }
        return at;
    }
    if (QListWidget* list = AsSimpleList(widget)) {
        list->insertItem(at, text);
        return at;
    }
    return -1;
}

void Dialog::ComboDeleteString(int id, int index) {
    if (index < 0 || index >= ComboCount(id)) {
        return;
    }
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        combo->removeItem(index);
    } else if (QListWidget* list = AsSimpleList(widget)) {
        delete list->takeItem(index);
    }
}

void Dialog::ComboReset(int id) {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        combo->clear();
    } else if (QListWidget* list = AsSimpleList(widget)) {
        list->clear();
    }
}

int Dialog::ComboCount(int id) const {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        return combo->count();
    }
    if (QListWidget* list = AsSimpleList(widget)) {
        return list->count();
    }
    return 0;
}

QString Dialog::ComboItemText(int id, int index) const {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        return combo->itemText(index);
    }
    if (QListWidget* list = AsSimpleList(widget); list && list->item(index)) {
        return list->item(index)->text();
    }
    return {};
}

int Dialog::ComboFindStringExact(int id, const QString& text) const {
    for (int i = 0; i < ComboCount(id); ++i) {
        if (ComboItemText(id, i).compare(text, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int Dialog::ComboCurSel(int id) const {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        return combo->currentIndex();
    }
    if (QListWidget* list = AsSimpleList(widget)) {
        return list->currentRow();
    }
    return -1;
}

void Dialog::ComboSetCurSel(int id, int index) {
    if (index < 0 || index >= ComboCount(id)) {
        index = -1;
    }
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        combo->setCurrentIndex(index);
    } else if (QListWidget* list = AsSimpleList(widget)) {
        list->setCurrentRow(index);
    }
}

} // namespace kfg::framework
