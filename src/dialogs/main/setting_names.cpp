#include "dialogs/main/setting_names.h"

#include "dialogs/main/exchange_table.h"
#include "dialogs/main/language_captions.h"
#include "platform/name_lookup.h"
#include "platform/strict_integer.h"
#include "res/template_102.h"
#include "res/template_102_controls.h"
#include "settings/windows1252.h"
#include "telvio/choice_tables.h"
#include "telvio/kfg_keys.h"
#include "telvio/viewer_key_table.h"

#include <array>
#include <optional>
#include <string>

namespace kfg::dialogs {
namespace {

using telvio::ChoiceList;
using texts::TextLanguage;
using texts::Texts;

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FromFile(std::string_view bytes) {
    return QString::fromStdString(settings::Utf8FromWindows1252(bytes));
}

bool IsSpanish(TextLanguage language) {
    return language == TextLanguage::Spanish;
}

// The caption a control shows in `language`, without the blanks that place it.
QString CaptionOf(int id, TextLanguage language) {
    const auto find = [id](std::span<const CaptionRow> rows) -> const char* {
        for (const CaptionRow& row : rows) {
            if (row.id == id) {
                return row.text;
            }
        }
        return nullptr;
    };
    const char* text = find(IsSpanish(language) ? SpanishCaptions() : GermanLabelTexts());
    if (text == nullptr) {
        const framework::ControlTemplate* control = res::FindMainControl(id);
        return control != nullptr ? Utf8(control->caption).simplified() : QString();
    }
    return QString::fromUtf8(text).simplified();
}

// What names a control: a check box or button its caption, anything else its label's.
QString NameOfControl(int id, TextLanguage language) {
    const framework::ControlTemplate* control = res::FindMainControl(id);
    if (control == nullptr) {
        return {};
    }
    if (control->kind == framework::ControlKind::CheckBox ||
        control->kind == framework::ControlKind::PushButton || control->buddy == 0) {
        return CaptionOf(id, language);
    }
    return CaptionOf(control->buddy, language);
}

// A list that shows the rows of each list key: the lists of one key share their name.
struct ListRow {
    ChoiceList list;
    int id;
};
constexpr auto kListControls = std::to_array<ListRow>({
    {ChoiceList::DisplayModeList, res::kIdDisplayMode3x},
    {ChoiceList::CardList, res::kIdCardList3x},
    {ChoiceList::TunerList, res::kIdTunerList},
    {ChoiceList::InterpolationList, res::kIdInterpolationList},
});

// A list by what it chooses, as a screen reader hears it (its group box names two at once).
QString ListName(ChoiceList list, TextLanguage language) {
    for (const ListRow& row : kListControls) {
        for (const ControlName& name : ListNames()) {
            if (row.list == list && name.id == row.id) {
                return QString::fromUtf8(IsSpanish(language) ? name.spanish : name.german);
            }
        }
    }
    return {};
}

const telvio::ViewerKey* ViewerKeyNamed(std::string_view key) {
    for (const telvio::ViewerKey& row : telvio::kViewerKeys) {
        if (row.kind == telvio::KeyKind::Single && settings::EqualsIgnoreCase1252(row.name, key)) {
            return &row;
        }
    }
    return nullptr;
}

// "Speicher7" or "Station7": the slot; nothing for any other key.
std::optional<int> SlotOf(std::string_view key) {
    for (const std::string_view family : {"Speicher", "Station"}) {
        if (key.size() > family.size() &&
            platform::EqualIgnoringAsciiCase(key.substr(0, family.size()), family)) {
            const std::optional<int> slot =
                platform::StrictInteger(key.substr(family.size()), platform::Blanks::Refused);
            if (slot && *slot >= 0 && *slot < telvio::kMemorySlotCount) {
                return slot;
            }
        }
    }
    return std::nullopt;
}

QString ViewerSettingName(std::string_view key, TextLanguage language) {
    if (const std::optional<int> slot = SlotOf(key)) {
        return (IsSpanish(language) ? QStringLiteral("Memoria %1") : QStringLiteral("Speicher %1"))
            .arg(*slot);
    }
    const telvio::ViewerKey* row = ViewerKeyNamed(key);
    if (row == nullptr) {
        return FromFile(key);
    }
    if (row->values.kind == telvio::ValueKind::Choice) {
        return ListName(row->values.choices, language);
    }
    if (row->inRecord != nullptr) {
        if (const ExchangeRow* shown = ExchangeRowOf(row->inRecord)) {
            return NameOfControl(shown->id, language);
        }
    }
    return FromFile(key);
}

// [KFG] of "KFG.ini": each key by what it keeps.
struct ManagerKeyName {
    telvio::KfgKey key;
    Texts name;
};
constexpr auto kManagerKeyNames = std::to_array<ManagerKeyName>({
    {telvio::KfgKey::Fr, {"Language", "Sprache", "Idioma"}},
    {telvio::KfgKey::Sprox, {"Language question", "Sprachabfrage", "Pregunta del idioma"}},
    {telvio::KfgKey::Audio, {"Audio decoder", "Audiodecoder", "Audio-Decoder"}},
    {telvio::KfgKey::SoundInit, {"", "", ""}}, // its check box's caption
    {telvio::KfgKey::LineIn, {"", "", ""}},
});
constexpr Texts kOfferedDisplayMode{"Display mode offered: %1", "Angebotener Anzeigemodus: %1",
                                    "Modo de pantalla ofrecido: %1"};
constexpr Texts kNoDecoder{"no audio decoder", "Kein Audiodecoder", "Ningún Audiodecoder"};

std::optional<telvio::KfgKey> ManagerKeyNamed(std::string_view key) {
    for (const telvio::KfgKeyInfo& row : telvio::kKfgKeys) {
        if (settings::EqualsIgnoreCase1252(row.name, key)) {
            return row.key;
        }
    }
    return std::nullopt;
}

// A [KFG] key "0" to "20": whether display mode n of the 3.x editions is offered.
std::optional<int> OfferedDisplayMode(std::string_view key) {
    const std::optional<int> row = platform::StrictInteger(key, platform::Blanks::Refused);
    if (!row || *row < 0 || telvio::DisplayModeKey(*row) != key ||
        !telvio::RowText(telvio::DisplayModes3xGerman, *row)) {
        return std::nullopt;
    }
    return row;
}

QString ManagerSettingName(std::string_view key, TextLanguage language) {
    if (const std::optional<telvio::KfgKey> known = ManagerKeyNamed(key)) {
        switch (*known) {
        case telvio::KfgKey::SoundInit:
            return NameOfControl(res::kIdSoundInit, language);
        case telvio::KfgKey::LineIn:
            return NameOfControl(res::kIdSoundLineIn, language);
        default:
            return QString::fromUtf8(
                kManagerKeyNames[static_cast<std::size_t>(*known)].name.In(language));
        }
    }
    if (const std::optional<int> row = OfferedDisplayMode(key)) {
        const auto mode = telvio::RowText(telvio::DisplayModes3xFor(language), *row);
        return QString::fromUtf8(kOfferedDisplayMode.In(language)).arg(Utf8(*mode));
    }
    return FromFile(key);
}

bool IsManagerSection(std::string_view file, std::string_view section) {
    return platform::EqualIgnoringAsciiCase(file, telvio::kManagerFile) &&
           settings::EqualsIgnoreCase1252(section, telvio::kManagerSection);
}

} // namespace

QString SettingName(std::string_view file, std::string_view section, std::string_view key,
                    TextLanguage language) {
    return IsManagerSection(file, section) ? ManagerSettingName(key, language)
                                           : ViewerSettingName(key, language);
}

QString SettingValue(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value, telvio::Edition edition, TextLanguage language) {
    const std::optional<int> number = platform::StrictInteger(value, platform::Blanks::Refused);
    if (IsManagerSection(file, section)) {
        const std::optional<telvio::KfgKey> known = ManagerKeyNamed(key);
        if (known == telvio::KfgKey::Fr && number) {
            return telvio::CaptionLanguageAtStartUp(*number) == TextLanguage::Spanish
                       ? QStringLiteral("Español")
                       : QStringLiteral("Deutsch");
        }
        if (known == telvio::KfgKey::Audio && number) {
            static constexpr std::array<const char*, 3> kDecoders = {nullptr, "Sonora", "Tonalix"};
            if (*number == 0) {
                return QString::fromUtf8(kNoDecoder.In(language));
            }
            if (*number > 0 && *number < static_cast<int>(kDecoders.size())) {
                return QString::fromUtf8(kDecoders[static_cast<std::size_t>(*number)]);
            }
        }
        return FromFile(value);
    }
    const telvio::ViewerKey* row = ViewerKeyNamed(key);
    if (row != nullptr && row->values.kind == telvio::ValueKind::Choice && number) {
        if (const auto text = telvio::RowText(
                telvio::ShownChoices(row->values.choices, edition, language), *number)) {
            return Utf8(*text);
        }
    }
    return FromFile(value);
}

} // namespace kfg::dialogs
