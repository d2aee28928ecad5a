#pragma once

#include "telvio/edition.h"
#include "telvio/settings_record.h"
#include "telvio/viewer_key_table.h"

#include <array>
#include <span>
#include <string>

namespace kfg::dialogs {

enum class ExchangeKind { Check, Integer, IntegerRange, ListText, ListPosition };

// One step of the main dialog's exchange: a control and the record member it shows. A range
// is the key's own from the settings key table; only a field without a key has its own here.
struct ExchangeRow {
    int id;
    ExchangeKind kind;
    int telvio::SettingsRecord::*number = nullptr;
    std::string telvio::SettingsRecord::*text = nullptr;
    int slot = -1; // memory slot, for rows whose member is a slot
    int low = 0;
    int high = 0;
};

// Every step, in the order the exchange runs them (the same in both directions).
std::span<const ExchangeRow> MainExchangeTable();

// The row that shows `member`; null for a member no control shows.
const ExchangeRow* ExchangeRowOf(int telvio::SettingsRecord::*member);

// A default button and the key-table button columns it resets, in the order it sets them
// (None: no more).
struct ResetButtonRow {
    int id;
    std::array<telvio::ResetBy, 2> resets;
};
std::span<const ResetButtonRow> ResetButtonTable();
// Whether one of the keys button `id` resets is one `edition` writes.
bool ResetsAKeyTheEditionWrites(const ResetButtonRow& button, telvio::Edition edition);

// Whether `edition` loads the row's value but no save of it ever writes it: a key outside the
// edition's written-by column, or a memory slot at or above its written count. A row without a
// key (a list's text, a field never stored) is not one of them.
bool EditionNeverSaves(const ExchangeRow& row, telvio::Edition edition);

} // namespace kfg::dialogs
