#pragma once

#include "settings/edition.h"
#include "settings/process_state.h"
#include "settings/settings_record.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace kfg::settings {

class ProfileStore;

inline constexpr std::string_view kViewerSection = "Telvio";
inline constexpr std::string_view kErazorSection = "Telvio-Erazor";

// The section of "Telvio.ini" an edition keeps its settings in.
std::string_view ViewerSectionFor(Edition edition);

enum class KeyKind { Single, MemorySlots };

// One key of the viewer's settings (also the keys of a named configuration). Its value lives
// in the settings record or, for the program-wide part, in the process state.
struct ViewerKey {
    KeyKind kind;
    std::string_view name;
    std::string_view defaultText;
    int SettingsRecord::*inRecord = nullptr;
    int ProcessState::*inState = nullptr;
    EditionMask readBy = kAllEditions;
    int writeOrder = 0; // position in a save; two keys share one when no edition writes both
    EditionMask writtenBy = 0;
};

// The whole table, in the order loading reads it.
std::span<const ViewerKey> ViewerKeysInReadOrder();

// The memory slots by edition: the key family and how many slots loading reads and saving
// writes (slots 0..count-1).
struct MemorySlotRule {
    std::string_view family; // "Station" or "Speicher"
    int read;
    int written;
};
const MemorySlotRule& SlotRuleFor(Edition edition);

// Reads the edition's keys from `section` of `file` into the record and the program-wide
// values: the default when a key is missing, the value cut to 19 characters, then its leading
// decimal number.
void LoadViewerKeys(ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, SettingsRecord& record,
                    ProcessState& state);

// Writes the edition's keys into `section` of `file`, in write order. A memory slot holding 0
// writes nothing, so the file keeps whatever that key held.
void SaveViewerKeys(ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, const SettingsRecord& record,
                    const ProcessState& state);

} // namespace kfg::settings
