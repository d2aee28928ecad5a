#include "telvio/viewer_keys.h"

#include "platform/name_lookup.h"
#include "settings/profile_store.h"
#include "telvio/kfg_keys.h"

#include <algorithm>
#include <vector>

namespace kfg::telvio {
namespace {

constexpr std::size_t kValueBuffer = 20; // values longer than 19 characters are cut

std::span<const ViewerKey> Table() {
    return kViewerKeys;
}

const std::vector<const ViewerKey*>& InWriteOrder() {
    static const std::vector<const ViewerKey*> ordered = [] {
        std::vector<const ViewerKey*> keys;
        for (const ViewerKey& key : Table()) {
            if (key.writtenBy != 0) {
                keys.push_back(&key);
            }
        }
        std::stable_sort(keys.begin(), keys.end(), [](const ViewerKey* a, const ViewerKey* b) {
            return a->writeOrder < b->writeOrder;
        });
        return keys;
    }();
    return ordered;
}

} // namespace

std::string_view ViewerSectionFor(Edition edition) {
    return FactsOf(edition).section;
}

std::span<const ViewerKey> ViewerKeysInReadOrder() {
    return Table();
}

const MemorySlotRule& SlotRuleFor(Edition edition) {
    return FactsOf(edition).memorySlots;
}

const ViewerKey& MemorySlotRow() {
    for (const ViewerKey& key : kViewerKeys) {
        if (key.kind == KeyKind::MemorySlots) {
            return key;
        }
    }
    return kViewerKeys.front(); // unreachable: the table has its slots' row
}

bool EditionReads(const ViewerKey& key, Edition edition, int slot) {
    return Includes(key.readBy, edition) &&
           (key.kind != KeyKind::MemorySlots || slot < SlotRuleFor(edition).read);
}

bool EditionWrites(const ViewerKey& key, Edition edition, int slot) {
    return Includes(key.writtenBy, edition) &&
           (key.kind != KeyKind::MemorySlots || slot < SlotRuleFor(edition).written);
}

std::string MemorySlotKey(Edition edition, int slot) {
    return std::string(SlotRuleFor(edition).family) + std::to_string(slot);
}

int KeyValue(const ViewerKey& key, const SettingsRecord& record, const ProcessState& state) {
    return key.inRecord != nullptr ? record.*(key.inRecord) : state.*(key.inState);
}

int& KeyValue(const ViewerKey& key, SettingsRecord& record, ProcessState& state) {
    return key.inRecord != nullptr ? record.*(key.inRecord) : state.*(key.inState);
}

bool Allows(const ViewerKey& key, Edition edition, int value) {
    switch (key.values.kind) {
    case ValueKind::Number:
        return true;
    case ValueKind::Ranged:
    case ValueKind::CheckBox:
        return key_table::InRange(key.values, value);
    case ValueKind::Choice:
        return RowText(ChoicesOf(key.values.choices, edition), value).has_value();
    }
    return false;
}

int ReadViewerValue(settings::ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, std::string_view key, std::string_view defaultText) {
    return settings::LeadingInteger(store.GetString(file, section, key, defaultText, kValueBuffer));
}

void LoadViewerKeys(settings::ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, SettingsRecord& record,
                    ProcessState& state) {
    for (const ViewerKey& key : Table()) {
        if (!EditionReads(key, edition)) {
            continue;
        }
        if (key.kind == KeyKind::MemorySlots) {
            for (int slot = 0; EditionReads(key, edition, slot); ++slot) {
                record.Memory[static_cast<std::size_t>(slot)] = ReadViewerValue(
                    store, file, section, MemorySlotKey(edition, slot), key.defaultText);
            }
            continue;
        }
        KeyValue(key, record, state) =
            ReadViewerValue(store, file, section, key.name, key.defaultText);
    }
}

void SaveViewerKeys(settings::ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, const SettingsRecord& record,
                    const ProcessState& state) {
    for (const ViewerKey* key : InWriteOrder()) {
        if (!Includes(key->writtenBy, edition)) {
            continue;
        }
        if (key->kind == KeyKind::MemorySlots) {
            // Only KFG reads its own file, and a missing slot reads as 0 there: deleting the key
            // keeps a cleared station cleared. How Telvio reads a missing station is unknown,
            // so its file keeps the old value.
            const bool clearsSlots =
                platform::EqualIgnoringAsciiCase(file.filename().string(), kManagerFile);
            const MemorySlotRule& rule = SlotRuleFor(edition);
            for (int slot = 0; slot < rule.written; ++slot) {
                const int value = record.Memory[static_cast<std::size_t>(slot)];
                // Reported to the store's sink and collectors; the other keys go on.
                if (value != 0) {
                    (void)store.WriteString(file, section, MemorySlotKey(edition, slot),
                                            std::to_string(value));
                } else if (clearsSlots) {
                    (void)store.DeleteKey(file, section, MemorySlotKey(edition, slot));
                }
            }
            continue;
        }
        (void)store.WriteString(file, section, key->name,
                                std::to_string(KeyValue(*key, record, state))); // as above
    }
}

} // namespace kfg::telvio
