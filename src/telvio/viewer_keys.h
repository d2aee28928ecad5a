#pragma once

#include "telvio/edition.h"
#include "telvio/edition_facts.h"
#include "telvio/process_state.h"
#include "telvio/settings_record.h"
#include "telvio/viewer_key_table.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace kfg::settings {
class ProfileStore;
}

namespace kfg::telvio {

// The section of "Telvio.ini" an edition keeps its settings in.
std::string_view ViewerSectionFor(Edition edition);

// The whole table, in the order loading reads it.
std::span<const ViewerKey> ViewerKeysInReadOrder();

const MemorySlotRule& SlotRuleFor(Edition edition);

// The table's row of the memory slots.
const ViewerKey& MemorySlotRow();

// Whether `edition` reads `key`; for the memory-slot row, whether it reads slot `slot` (the
// slots are read only up to the edition's count).
bool EditionReads(const ViewerKey& key, Edition edition, int slot = -1);

// Whether a save for `edition` writes `key`; for the memory-slot row, whether it writes slot
// `slot` (the slots are written only up to the edition's count).
bool EditionWrites(const ViewerKey& key, Edition edition, int slot = -1);

// The key of memory slot `slot` in `edition`'s family: "Speicher<n>" or "Station<n>".
std::string MemorySlotKey(Edition edition, int slot);

// The value of a single key, from the record or the program-wide part.
int KeyValue(const ViewerKey& key, const SettingsRecord& record, const ProcessState& state);
int& KeyValue(const ViewerKey& key, SettingsRecord& record, ProcessState& state);

// One key's value as loading reads it: the default when the key is missing, the value cut to
// 19 characters, then its leading decimal number.
int ReadViewerValue(settings::ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, std::string_view key, std::string_view defaultText);

// Reads the edition's keys from `section` of `file` into the record and the program-wide
// values: the default when a key is missing, the value cut to 19 characters, then its leading
// decimal number.
void LoadViewerKeys(settings::ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, SettingsRecord& record,
                    ProcessState& state);

// Writes the edition's keys into `section` of `file`, in write order. A memory slot holding 0
// writes nothing into "Telvio.ini", so that file keeps whatever the key held; in "KFG.ini" (the
// target file's name, letter case aside) it deletes the key, which reads back as 0.
void SaveViewerKeys(settings::ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, const SettingsRecord& record,
                    const ProcessState& state);

} // namespace kfg::telvio
