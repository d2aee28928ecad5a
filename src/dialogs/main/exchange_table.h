#pragma once

#include "settings/settings_record.h"

#include <array>
#include <span>
#include <string>

namespace kfg::dialogs {

enum class ExchangeKind { Check, Integer, IntegerRange, ListText, ListPosition };

// One step of the main dialog's exchange: a control and the record member it shows.
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

} // namespace kfg::dialogs
