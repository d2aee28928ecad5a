#include "dialogs/main/exchange_table.h"

#include "platform/no_repeats.h"
#include "res/template_102.h"
#include "res/template_102_controls.h"
#include "telvio/viewer_key_table.h"
#include "telvio/viewer_keys.h"

#include <array>

namespace kfg::dialogs {
namespace {

using framework::ControlKind;
using telvio::SettingsRecord;
using telvio::ValueKind;
using K = ExchangeKind;
using R = SettingsRecord;
using namespace res;

constexpr ExchangeRow Check(int id, int R::*member) {
    return {id, K::Check, member};
}
// The range of the key whose value `member` holds.
constexpr ExchangeRow Range(int id, int R::*member) {
    const telvio::ViewerKey& key = *telvio::KeyOf(member);
    return {id, K::IntegerRange, member, nullptr, -1, key.values.low, key.values.high};
}
// A field that no key stores keeps its range here.
constexpr ExchangeRow OwnRange(int id, int R::*member, int low, int high) {
    return {id, K::IntegerRange, member, nullptr, -1, low, high};
}
constexpr ExchangeRow Text(int id, std::string R::*member) {
    return {id, K::ListText, nullptr, member};
}
constexpr ExchangeRow Slot(int slot) {
    return {kMemorySlotIds[static_cast<std::size_t>(slot)], K::Integer, nullptr, nullptr, slot};
}

// Slots 0 to 19 run in the order of their field ids: 0, 1, 10 to 19, then 2 to 9.
constexpr auto kTable = std::to_array<ExchangeRow>({
    Check(kIdLogFile, &R::Debug),
    Text(kIdDisplayMode3x, &R::DisplayModeText3x),
    Check(kIdPllInit, &R::PLL),
    Check(kIdHighPriority, &R::Priority),
    Check(kIdSecam, &R::Secam),
    Check(kIdStatus, &R::Status),
    Slot(0),
    Slot(1),
    Slot(10),
    Slot(11),
    Slot(12),
    Slot(13),
    Slot(14),
    Slot(15),
    Slot(16),
    Slot(17),
    Slot(18),
    Slot(19),
    Slot(2),
    Slot(3),
    Slot(4),
    Slot(5),
    Slot(6),
    Slot(7),
    Slot(8),
    Slot(9),
    Range(kIdColour, &R::Farbe),
    Range(kIdBrightness, &R::Helligkeit),
    Range(kIdContrast, &R::Kontrast),
    Range(kIdBorderHeight, &R::HoeheRand),
    Range(kIdTestLines, &R::Testzeilen),
    {kIdIndexFileList, K::ListPosition, &R::IndexFileSelection},
    Text(kIdCardList3x, &R::TVKarteText3x),
    Text(kIdTunerList, &R::TunerText),
    Text(kIdDisplayMode283, &R::DisplayModeText283),
    Text(kIdCardList283, &R::TVKarteText283),
    Check(kIdPalPlus, &R::PALplus),
    Check(kIdBlackLines, &R::SchwarzeZeile),
    Check(kIdStatistics, &R::Statistik),
    Range(kIdFirstLine, &R::ErsteZeile),
    Range(kIdLastLine, &R::LetzteZeile),
    Check(kIdBt8xxOptimisation, &R::OptimierungBT),
    Check(kIdBlankingInterval, &R::Austastung),
    Text(kIdDisplayModeErazor, &R::DisplayModeTextErazor),
    Text(kIdCardListErazor, &R::TVKarteTextErazor),
    Text(kIdInterpolationList, &R::InterpolationText),
    Check(kIdErazorLineIn, &R::LineIn),
    OwnRange(kIdVolume, &R::Volume, 0, 30), // never stored
    Check(kIdLoudness, &R::Loudness),
    Check(kIdSpatial, &R::Spartial),
    Check(kIdTurbo, &R::Turbo),
    Range(kIdAcceleration, &R::Accel),
    Check(kIdProportional, &R::Proportional),
    Check(kIdForeground, &R::Vordergrund),
    Check(kIdAutoBorder, &R::RandAutomatik),
    Slot(20),
    Slot(21),
    Slot(22),
    Slot(23),
    Slot(24),
    Slot(25),
    Slot(26),
    Slot(27),
    Slot(28),
    Slot(29),
    Slot(30),
    Slot(31),
    Slot(32),
    Slot(33),
    Slot(34),
    Slot(35),
    Slot(36),
    Slot(37),
    Slot(38),
    Slot(39),
});

constexpr ControlKind KindFor(ExchangeKind kind) {
    switch (kind) {
    case K::Check:
        return ControlKind::CheckBox;
    case K::Integer:
    case K::IntegerRange:
        return ControlKind::Edit;
    case K::ListText:
    case K::ListPosition:
        return ControlKind::ComboBox;
    }
    return ControlKind::Label;
}

// A row steps a control of its kind, with exactly one member; a check box shows a check-box
// key and a range is the key's (or, without a key, the row's own).
constexpr bool RowFits(const ExchangeRow& row) {
    const bool textRow = row.kind == K::ListText;
    const bool oneTarget =
        textRow ? row.text != nullptr && row.number == nullptr && row.slot < 0
                : row.text == nullptr && ((row.number != nullptr) != (row.slot >= 0));
    const telvio::ViewerKey* key = row.number != nullptr ? telvio::KeyOf(row.number) : nullptr;
    bool keyFits = true;
    if (row.kind == K::Check) {
        keyFits = key != nullptr && key->values.kind == ValueKind::CheckBox;
    } else if (row.kind == K::IntegerRange) {
        keyFits = key == nullptr ? row.low <= row.high
                                 : key->values.kind == ValueKind::Ranged &&
                                       key->values.low == row.low && key->values.high == row.high;
    }
    return IsMainControl(row.id, KindFor(row.kind)) && oneTarget && keyFits;
}

constexpr bool TableHolds() {
    if (!platform::NoRepeats(
            kTable, [](const ExchangeRow& a, const ExchangeRow& b) { return a.id == b.id; })) {
        return false;
    }
    std::array<int, kMemorySlotCount> slotRows{};
    for (const ExchangeRow& row : kTable) {
        if (!RowFits(row)) {
            return false;
        }
        if (row.slot >= 0) {
            ++slotRows[static_cast<std::size_t>(row.slot)];
        }
    }
    for (const int rows : slotRows) {
        if (rows != 1) {
            return false;
        }
    }
    return true;
}
static_assert(TableHolds(), "an exchange row names a missing control, a wrong kind, no member, "
                            "another range than its key, or a control or slot a second time");

constexpr const ExchangeRow* RowOf(int R::*member) {
    for (const ExchangeRow& row : kTable) {
        if (row.number != nullptr && row.number == member) {
            return &row;
        }
    }
    return nullptr;
}

// The default buttons set the controls of the keys they reset: a check box or a checked field.
constexpr bool ResetKeysHaveControls() {
    for (const telvio::ViewerKey& key : telvio::kViewerKeys) {
        if (key.resetBy == telvio::ResetBy::None) {
            continue;
        }
        const ExchangeRow* row = RowOf(key.inRecord);
        if (row == nullptr || (row->kind != K::Check && row->kind != K::IntegerRange)) {
            return false;
        }
    }
    return true;
}
static_assert(ResetKeysHaveControls(), "a key a default button resets has no control to set");

// "Defaultwerte" also runs "Bilddefault", after its own keys.
constexpr auto kResetButtons = std::to_array<ResetButtonRow>({
    {kIdDefaults, {telvio::ResetBy::DefaultsButton, telvio::ResetBy::PictureButton}},
    {kIdPictureDefaults, {telvio::ResetBy::PictureButton, telvio::ResetBy::None}},
});

constexpr bool ResetButtonsHold() {
    for (const ResetButtonRow& button : kResetButtons) {
        if (!IsMainControl(button.id, ControlKind::PushButton) ||
            button.resets[0] == telvio::ResetBy::None) {
            return false;
        }
    }
    return true;
}
static_assert(ResetButtonsHold(), "a reset row names no push button, or resets nothing");

} // namespace

std::span<const ResetButtonRow> ResetButtonTable() {
    return kResetButtons;
}

bool ResetsAKeyTheEditionWrites(const ResetButtonRow& button, telvio::Edition edition) {
    for (const telvio::ViewerKey& key : telvio::kViewerKeys) {
        for (const telvio::ResetBy resets : button.resets) {
            if (resets != telvio::ResetBy::None && key.resetBy == resets &&
                telvio::Includes(key.writtenBy, edition)) {
                return true;
            }
        }
    }
    return false;
}

std::span<const ExchangeRow> MainExchangeTable() {
    return kTable;
}

const ExchangeRow* ExchangeRowOf(int SettingsRecord::*member) {
    return RowOf(member);
}

bool EditionNeverSaves(const ExchangeRow& row, telvio::Edition edition) {
    if (row.slot >= 0) {
        return !telvio::EditionWrites(telvio::MemorySlotRow(), edition, row.slot);
    }
    const telvio::ViewerKey* key = row.number != nullptr ? telvio::KeyOf(row.number) : nullptr;
    return key != nullptr && !telvio::EditionWrites(*key, edition);
}

} // namespace kfg::dialogs
