#include "ctl/ctl_keys.h"

#include "platform/name_lookup.h"
#include "platform/strict_integer.h"
#include "telvio/choice_tables.h"
#include "telvio/edition_facts.h"
#include "telvio/viewer_keys.h"
#include "texts/input_check_texts.h"

#include <algorithm>

namespace kfg::ctl {
namespace {

using telvio::KeyKind;
using telvio::ValueKind;

// An optional single sign directly followed by decimal digits, nothing else.
std::optional<int> Integer(std::string_view text) {
    return platform::StrictInteger(text, platform::Blanks::Refused);
}

// "Speicher7" or "station7" as a slot of either family: the family's spelling and the slot.
std::optional<NamedKey> SlotNamed(std::string_view name, telvio::Edition edition) {
    for (const std::string_view family : {"Speicher", "Station"}) {
        if (name.size() <= family.size() ||
            !platform::EqualIgnoringAsciiCase(name.substr(0, family.size()), family)) {
            continue;
        }
        const std::string_view digits = name.substr(family.size());
        const std::optional<int> slot = Integer(digits);
        // Written without sign and leading zeros, as the files do.
        if (!slot || *slot >= telvio::kMemorySlotCount || std::to_string(*slot) != digits) {
            return std::nullopt;
        }
        NamedKey found{&telvio::MemorySlotRow(), *slot, std::string(family) + std::string(digits)};
        if (family != telvio::SlotRuleFor(edition).family) {
            found.slot = telvio::kMemorySlotCount; // the other family: read by no one here
        }
        return found;
    }
    return std::nullopt;
}

} // namespace

std::optional<NamedKey> FindKey(Folder& folder, std::string_view name, KeyUse use) {
    const telvio::Edition edition = folder.Edition();
    std::optional<NamedKey> found = SlotNamed(name, edition);
    for (const telvio::ViewerKey& key : telvio::kViewerKeys) {
        if (!found && key.kind == KeyKind::Single &&
            platform::EqualIgnoringAsciiCase(key.name, name)) {
            found = NamedKey{&key, -1, std::string(key.name)};
        }
    }
    if (!found) {
        folder.Refuse(Message::UnknownKey, {name});
        return std::nullopt;
    }
    const bool read = telvio::EditionReads(*found->key, edition, found->slot);
    const bool written = telvio::EditionWrites(*found->key, edition, found->slot);
    const std::string_view label = telvio::FactsOf(edition).versionLabel;
    if (!read) {
        folder.Refuse(Message::NotRead, {found->name, label});
        return std::nullopt;
    }
    if (use == KeyUse::Write && !written) {
        folder.Refuse(Message::NotWritten, {found->name, label});
        return std::nullopt;
    }
    return found;
}

std::vector<NamedKey> KeysRead(telvio::Edition edition) {
    std::vector<NamedKey> keys;
    for (const telvio::ViewerKey& key : telvio::ViewerKeysInReadOrder()) {
        if (!telvio::EditionReads(key, edition)) {
            continue;
        }
        if (key.kind == KeyKind::Single) {
            keys.push_back({&key, -1, std::string(key.name)});
            continue;
        }
        for (int slot = 0; telvio::EditionReads(key, edition, slot); ++slot) {
            keys.push_back({&key, slot, telvio::MemorySlotKey(edition, slot)});
        }
    }
    return keys;
}

int ValueOf(const NamedKey& key, const LoadedSettings& loaded) {
    return key.slot >= 0 ? loaded.record.Memory[static_cast<std::size_t>(key.slot)]
                         : telvio::KeyValue(*key.key, loaded.record, loaded.state);
}

std::optional<std::string_view> TextOf(const NamedKey& key, int value, telvio::Edition edition,
                                       texts::TextLanguage language) {
    if (key.slot >= 0 || key.key->values.kind != ValueKind::Choice) {
        return std::nullopt;
    }
    return telvio::RowText(telvio::ShownChoices(key.key->values.choices, edition, language), value);
}

std::optional<int> ParseValue(Folder& folder, const NamedKey& key, std::string_view text) {
    const std::optional<int> number = Integer(text);
    const telvio::KeyValues& values = key.key->values;
    if (key.slot < 0 && values.kind == ValueKind::Choice) {
        const telvio::Edition edition = folder.Edition();
        const telvio::ChoiceTable& rows = telvio::ChoicesOf(values.choices, edition);
        if (number && telvio::RowText(rows, *number)) {
            return number;
        }
        if (const std::optional<int> row = telvio::RowOfChoiceText(values.choices, edition, text)) {
            return row;
        }
        folder.Refuse(Message::NoSuchRow, {key.name, text, std::to_string(rows.RowCount() - 1)});
        return std::nullopt;
    }
    if (!number) {
        folder.Refuse(Message::NotANumber,
                      {key.name, text, texts::kIntegerExpected.In(folder.Env().language)});
        return std::nullopt;
    }
    if (key.slot >= 0 && *number == 0) {
        folder.Refuse(Message::ZeroSlot, {key.name});
        return std::nullopt;
    }
    if (key.slot < 0 && !telvio::Allows(*key.key, folder.Edition(), *number)) {
        const std::string check =
            texts::FillIn(texts::kIntegerBetween.In(folder.Env().language),
                          {std::to_string(values.low), std::to_string(values.high)});
        folder.Refuse(Message::OutOfRange, {key.name, text, check});
        return std::nullopt;
    }
    return number;
}

} // namespace kfg::ctl
