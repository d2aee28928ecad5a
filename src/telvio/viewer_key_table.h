#pragma once

// The viewer's keys as one table: loading, saving, the dialog's checks and its default
// buttons all read it.

#include "platform/no_repeats.h"
#include "settings/leading_integer.h"
#include "telvio/choice_tables.h"
#include "telvio/edition_facts.h"
#include "telvio/process_state.h"
#include "telvio/settings_record.h"

#include <array>
#include <string_view>

namespace kfg::telvio {

enum class KeyKind { Single, MemorySlots };

// What a key may hold.
enum class ValueKind {
    Number,   // any integer
    Ranged,   // an integer from `low` to `high`; the dialog checks it
    CheckBox, // 0 or 1
    Choice,   // a row of the key's choice list
};

struct KeyValues {
    ValueKind kind = ValueKind::Number;
    int low = 0;
    int high = 0;
    ChoiceList choices = ChoiceList::None;
};

// The button that sets a key back to its default: "Bilddefault" (which "Defaultwerte" also
// runs) or "Defaultwerte" alone.
enum class ResetBy { None, DefaultsButton, PictureButton };

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
    KeyValues values;
    ResetBy resetBy = ResetBy::None;
};

namespace key_table {

constexpr EditionMask kErazor = Bit(Edition::Erazor);
constexpr EditionMask kV31 = Bit(Edition::V31);
constexpr EditionMask kV311 = Bit(Edition::V311);
constexpr EditionMask kQuik = Bit(Edition::V283Quik);
constexpr EditionMask kV320 = Bit(Edition::V320);
constexpr EditionMask k283 = kEditions283;
constexpr EditionMask k3x = kEditions3x;
constexpr EditionMask kAll = kAllEditions;

constexpr KeyValues kAny{};
constexpr KeyValues kCheck{ValueKind::CheckBox, 0, 1};
constexpr KeyValues Range(int low, int high) {
    return {ValueKind::Ranged, low, high};
}
constexpr KeyValues Choice(ChoiceList choices) {
    return {ValueKind::Choice, 0, 0, choices};
}

constexpr ResetBy kKeep = ResetBy::None;
constexpr ResetBy kDefaults = ResetBy::DefaultsButton;
constexpr ResetBy kPicture = ResetBy::PictureButton;

using R = SettingsRecord;
using S = ProcessState;

constexpr ViewerKey Rec(std::string_view name, std::string_view def, int R::*member,
                        KeyValues values, ResetBy reset, int order, EditionMask writtenBy,
                        EditionMask readBy = kAll) {
    return {KeyKind::Single, name, def, member, nullptr, readBy, order, writtenBy, values, reset};
}
constexpr ViewerKey State(std::string_view name, std::string_view def, int S::*member,
                          KeyValues values, int order, EditionMask writtenBy,
                          EditionMask readBy = kAll) {
    return {KeyKind::Single, name, def, nullptr, member, readBy, order, writtenBy, values, kKeep};
}
// The memory slots; their names come from the edition's slot family.
constexpr ViewerKey Slots(int order, EditionMask writtenBy) {
    return {KeyKind::MemorySlots, "", "0", nullptr, nullptr, kAll, order, writtenBy, kAny, kKeep};
}

// Read order top to bottom. Columns: name, default, where the value lives, what it may hold,
// the button that resets it, its position in a save, the editions that write it, and those
// that read it (all unless named).
inline constexpr auto kKeys = std::to_array<ViewerKey>({
    Rec("Debug", "0", &R::Debug, kCheck, kDefaults, 1, kAll),
    Rec("Testzeilen", "16", &R::Testzeilen, Range(0, 99), kDefaults, 2, kAll),
    Rec("HoeheRand", "0", &R::HoeheRand, Range(0, 80), kDefaults, 3, kErazor | kV31 | kV311),
    State("DisplayMode", "0", &S::DisplayMode, Choice(ChoiceList::DisplayModeList), 6, kAll),
    State("Tuner", "0", &S::Tuner, Choice(ChoiceList::TunerList), 8, kAll & ~kErazor),
    State("TVKarte", "0", &S::TVKarte, Choice(ChoiceList::CardList), 9, kAll),
    Rec("Status", "0", &R::Status, kCheck, kDefaults, 10, k3x),
    Rec("Secam", "0", &R::Secam, kCheck, kDefaults, 12, kAll & ~kErazor),
    Rec("PLL", "0", &R::PLL, kCheck, kDefaults, 13, k3x),
    Rec("Priority", "0", &R::Priority, kCheck, kDefaults, 15, k283 | kErazor | kV31),
    Rec("Turbo", "1", &R::Turbo, kCheck, kKeep, 16, kV311 | kV320),
    Rec("Farbe", "254", &R::Farbe, Range(0, 511), kPicture, 24, kAll & ~kErazor),
    Rec("Helligkeit", "128", &R::Helligkeit, Range(0, 255), kPicture, 25, kAll & ~kErazor),
    Rec("Kontrast", "216", &R::Kontrast, Range(0, 511), kPicture, 26, kAll & ~kErazor),
    Rec("Loudness", "0", &R::Loudness, kCheck, kKeep, 19, kV311 | kV320),
    Rec("Spartial", "0", &R::Spartial, kCheck, kKeep, 20, kV311 | kV320),
    Slots(27, kAll & ~kErazor),
    // Read right after the slots, and only by the editions that have them.
    State("Links", "0", &S::Links, kAny, 31, kV320, kV311 | kV320),
    State("Oben", "0", &S::Oben, kAny, 32, kV320, kV311 | kV320),
    State("Rechts", "0", &S::Rechts, kAny, 33, kV320, kV311 | kV320),
    State("Unten", "0", &S::Unten, kAny, 34, kV320, kV311 | kV320),
    Rec("Vordergrund", "0", &R::Vordergrund, kCheck, kKeep, 28, kV320, kV311 | kV320),
    Rec("RandAutomatik", "0", &R::RandAutomatik, kCheck, kKeep, 30, kV320, kV311 | kV320),
    Rec("Proportional", "0", &R::Proportional, kCheck, kKeep, 29, kV320, kV311 | kV320),
    Rec("ErsteZeile", "1", &R::ErsteZeile, Range(0, 290), kDefaults, 4, k283),
    Rec("LetzteZeile", "285", &R::LetzteZeile, Range(0, 580), kDefaults, 5, k283),
    State("CaptureDevice", "0", &S::CaptureDevice, kAny, 7, k283 | kErazor),
    Rec("Statistik", "0", &R::Statistik, kCheck, kKeep, 10, k283 | kErazor),
    Rec("OptimierungBT", "0", &R::OptimierungBT, kCheck, kDefaults, 11, k283),
    Rec("PALplus", "0", &R::PALplus, kCheck, kDefaults, 14, k283),
    Rec("SchwarzeZeile", "0", &R::SchwarzeZeile, kCheck, kDefaults, 17, k283),
    Rec("Austastung", "0", &R::Austastung, kCheck, kDefaults, 18, k283),
    State("Interpolation", "0", &S::Interpolation, Choice(ChoiceList::InterpolationList), 22,
          kErazor),
    Rec("Line-In", "0", &R::LineIn, kCheck, kKeep, 23, kErazor),
    Rec("Accel", "0", &R::Accel, Range(0, 25), kKeep, 21, kQuik),
}); // Volume, IndexFileSelection and SoundOptionsChanged are never stored.

// "Defaultwerte" gives every key it resets that key's default, except where the viewer's own
// dialog chose another value.
struct ButtonException {
    std::string_view key;
    int value;
};
inline constexpr auto kDefaultsButtonExceptions = std::to_array<ButtonException>({
    {"ErsteZeile", 2}, // not the 1 a missing key loads
});

} // namespace key_table

// The whole table, in the order loading reads it.
inline constexpr const auto& kViewerKeys = key_table::kKeys;

// The key whose value lives in `member`; null for members that are never stored.
constexpr const ViewerKey* KeyOf(int SettingsRecord::*member) {
    for (const ViewerKey& key : kViewerKeys) {
        if (key.inRecord != nullptr && key.inRecord == member) {
            return &key;
        }
    }
    return nullptr;
}

constexpr const ViewerKey* KeyNamed(std::string_view name) {
    for (const ViewerKey& key : kViewerKeys) {
        if (key.kind == KeyKind::Single && key.name == name) {
            return &key;
        }
    }
    return nullptr;
}

// What loading gives a key the file does not hold.
constexpr int DefaultValue(const ViewerKey& key) {
    return settings::LeadingInteger(key.defaultText);
}

// What the button named in the key's `resetBy` sets it to.
constexpr int ButtonDefault(const ViewerKey& key) {
    for (const key_table::ButtonException& exception : key_table::kDefaultsButtonExceptions) {
        if (exception.key == key.name) {
            return exception.value;
        }
    }
    return DefaultValue(key);
}

// Whether `value` is one the key may hold (a choice: a row of its list for `edition`).
bool Allows(const ViewerKey& key, Edition edition, int value);

namespace key_table {

constexpr bool InRange(const KeyValues& values, int value) {
    return values.low <= value && value <= values.high;
}

// One row's own rules.
constexpr bool RowHolds(const ViewerKey& key) {
    const bool single = key.kind == KeyKind::Single;
    // A key has a name and exactly one place for its value; the slots have neither.
    const bool target =
        single ? !key.name.empty() && ((key.inRecord != nullptr) != (key.inState != nullptr))
               : key.name.empty() && key.inRecord == nullptr && key.inState == nullptr;
    // Saving writes only what loading read, or it would write back a value never loaded.
    const bool writesWhatItReads = (key.writtenBy & ~key.readBy) == 0;
    const KeyValues& v = key.values;
    bool valuesFit = true;
    switch (v.kind) {
    case ValueKind::Number:
        break;
    case ValueKind::Ranged:
    case ValueKind::CheckBox:
        valuesFit = v.low <= v.high && InRange(v, DefaultValue(key));
        break;
    case ValueKind::Choice:
        valuesFit = v.choices != ChoiceList::None && DefaultValue(key) == 0;
        break;
    }
    // The buttons set controls, so what they reset lives in the record and is checked there.
    const bool resettable = key.resetBy == ResetBy::None ||
                            (key.inRecord != nullptr && v.kind != ValueKind::Number &&
                             v.kind != ValueKind::Choice && InRange(v, ButtonDefault(key)));
    return target && writesWhatItReads && valuesFit && resettable;
}

// Rules between rows.
constexpr bool RowsAgree() {
    const auto clash = [](const ViewerKey& a, const ViewerKey& b) {
        const bool sameName = a.kind == KeyKind::Single && a.name == b.name;
        const bool sameTarget = (a.inRecord != nullptr && a.inRecord == b.inRecord) ||
                                (a.inState != nullptr && a.inState == b.inState);
        // A shared position is only for keys no edition writes both of.
        const bool orderClash = a.writeOrder == b.writeOrder && (a.writtenBy & b.writtenBy);
        return sameName || sameTarget || orderClash;
    };
    int slotRows = 0;
    for (const ViewerKey& key : kKeys) {
        slotRows += key.kind == KeyKind::MemorySlots ? 1 : 0;
    }
    return slotRows == 1 && platform::NoRepeats(kKeys, clash);
}

constexpr bool ExceptionsAreResetKeys() {
    for (const ButtonException& exception : kDefaultsButtonExceptions) {
        const ViewerKey* key = KeyNamed(exception.key);
        if (key == nullptr || key->resetBy == ResetBy::None) {
            return false;
        }
    }
    return true;
}

constexpr bool EveryRowHolds() {
    for (const ViewerKey& key : kKeys) {
        if (!RowHolds(key)) {
            return false;
        }
    }
    return true;
}

static_assert(EveryRowHolds(), "a key row lacks its name, its one target, or fitting values");
static_assert(RowsAgree(), "two key rows share a name, a target or a position in a save");
static_assert(ExceptionsAreResetKeys(), "an exception names a key the button does not reset");

} // namespace key_table

} // namespace kfg::telvio
