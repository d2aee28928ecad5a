#include "framework/data_exchange.h"

#include "framework/dialog.h"
#include "framework/layer_texts.h"
#include "framework/message_box.h"
#include "platform/strict_integer.h"

#include <QApplication>
#include <QComboBox>
#include <optional>

namespace kfg::framework {

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate)
    : dialog_(dialog)
    , save_(saveAndValidate) {}

void DataExchange::Fail(int id, const QString& message) {
    failed_ = true;
    MessageBox(&dialog_, message, QApplication::applicationName(), MessageIcon::Warning);
    dialog_.SetFocusTo(id, true);
}

void DataExchange::Check(int id, int& member) {
    if (failed_) {
        return;
    }
    if (save_) {
        member = dialog_.CheckState(id);
        return;
    }
    if (member < 0 || member > 2) {
        member = 0;
    }
    dialog_.SetCheck(id, member);
}

void DataExchange::Integer(int id, int& member) {
    if (failed_) {
        return;
    }
    if (!save_) {
        dialog_.SetItemInt(id, member);
        return;
    }
    if (const std::optional<int> value = platform::StrictInteger(dialog_.ItemText(id).toStdString(),
                                                                 platform::Blanks::AllowedAround)) {
        member = *value;
    } else {
        Fail(id, QString::fromUtf8(TextsFor(dialog_.CurrentLanguage()).integerExpected));
    }
}

void DataExchange::Integer(int id, int& member, int low, int high) {
    Integer(id, member);
    if (failed_ || !save_) {
        return;
    }
    if (member < low || member > high) {
        Fail(id, IntegerBetweenMessage(dialog_.CurrentLanguage(), low, high));
    }
}

void DataExchange::ListText(int id, std::string& member) {
    if (failed_) {
        return;
    }
    if (save_) {
        member = dialog_.ItemText(id).toStdString();
        return;
    }
    // Only an entry that is the member's text is selected: a nearby entry would be taken back
    // as a choice the user never made.
    const QString text = QString::fromStdString(member);
    const int found = text.isEmpty() ? -1 : dialog_.ComboFindStringExact(id, text);
    dialog_.ComboSetCurSel(id, found);
    // No entry fits: an editable box shows the text itself; a list shows nothing.
    if (auto* combo = qobject_cast<QComboBox*>(dialog_.Item(id));
        found < 0 && combo != nullptr && combo->isEditable()) {
        combo->setEditText(text);
    }
}

void DataExchange::ListPosition(int id, int& member) {
    if (failed_) {
        return;
    }
    if (save_) {
        member = dialog_.ComboCurSel(id);
    } else {
        dialog_.ComboSetCurSel(id, member);
    }
}

} // namespace kfg::framework
