#pragma once

#include "settings/settings_record.h"

#include <span>
#include <string>

namespace kfg::dialogs {

enum class ExchangeKind { Check, Integer, IntegerRange, ListText, ListPosition };

// One step of the main dialog's exchange: a control and the record member it shows. A range
// is the key's own from the settings key table; only a field without a key has its own here.
struct ExchangeRow {
    int id;
    ExchangeKind kind;
    int settings::SettingsRecord::*number = nullptr;
    std::string settings::SettingsRecord::*text = nullptr;
    int slot = -1; // memory slot, for rows whose member is a slot
    int low = 0;
    int high = 0;
};

// Every step, in the order the exchange runs them (the same in both directions).
std::span<const ExchangeRow> MainExchangeTable();

// The row that shows `member`; null for a member no control shows.
const ExchangeRow* ExchangeRowOf(int settings::SettingsRecord::*member);

} // namespace kfg::dialogs
