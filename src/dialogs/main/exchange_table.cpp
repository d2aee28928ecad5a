#include "dialogs/main/exchange_table.h"

#include "res/template_102.h"

namespace kfg::dialogs {
namespace {

using settings::SettingsRecord;
using K = ExchangeKind;

constexpr ExchangeRow Check(int id, int SettingsRecord::*member) {
    return {id, K::Check, member};
}
constexpr ExchangeRow Range(int id, int SettingsRecord::*member, int low, int high) {
    return {id, K::IntegerRange, member, nullptr, -1, low, high};
}
constexpr ExchangeRow Text(int id, std::string SettingsRecord::*member) {
    return {id, K::ListText, nullptr, member};
}
constexpr ExchangeRow Slot(int slot) {
    return {res::kMemorySlotIds[static_cast<std::size_t>(slot)], K::Integer, nullptr, nullptr,
            slot};
}

// Slots 0 to 19 run in the order of their field ids: 0, 1, 10 to 19, then 2 to 9.
constexpr std::array<ExchangeRow, 75> kTable{{
    Check(1017, &SettingsRecord::Debug),
    Text(1012, &SettingsRecord::DisplayModeText3x),
    Check(1016, &SettingsRecord::PLL),
    Check(1013, &SettingsRecord::Priority),
    Check(1015, &SettingsRecord::Secam),
    Check(1014, &SettingsRecord::Status),
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
    Range(1049, &SettingsRecord::Farbe, 0, 511),
    Range(1047, &SettingsRecord::Helligkeit, 0, 255),
    Range(1051, &SettingsRecord::Kontrast, 0, 511),
    Range(1042, &SettingsRecord::HoeheRand, 0, 80),
    Range(1038, &SettingsRecord::Testzeilen, 0, 99),
    {1040, K::ListPosition, &SettingsRecord::IndexFileSelection},
    Text(1071, &SettingsRecord::TVKarteText3x),
    Text(1070, &SettingsRecord::TunerText),
    Text(1100, &SettingsRecord::DisplayModeText283),
    Text(1099, &SettingsRecord::TVKarteText283),
    Check(1102, &SettingsRecord::PALplus),
    Check(1103, &SettingsRecord::SchwarzeZeile),
    Check(1105, &SettingsRecord::Statistik),
    Range(1106, &SettingsRecord::ErsteZeile, 0, 290),
    Range(1107, &SettingsRecord::LetzteZeile, 0, 580),
    Check(1101, &SettingsRecord::OptimierungBT),
    Check(1104, &SettingsRecord::Austastung),
    Text(1117, &SettingsRecord::DisplayModeTextErazor),
    Text(1116, &SettingsRecord::TVKarteTextErazor),
    Text(1118, &SettingsRecord::InterpolationText),
    Check(1120, &SettingsRecord::LineIn),
    Range(1095, &SettingsRecord::Volume, 0, 30),
    Check(1129, &SettingsRecord::Loudness),
    Check(1128, &SettingsRecord::Spartial),
    Check(1094, &SettingsRecord::Turbo),
    Range(1159, &SettingsRecord::Accel, 0, 25),
    Check(1163, &SettingsRecord::Proportional),
    Check(1161, &SettingsRecord::Vordergrund),
    Check(1162, &SettingsRecord::RandAutomatik),
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
}};

} // namespace

std::span<const ExchangeRow> MainExchangeTable() {
    return kTable;
}

} // namespace kfg::dialogs
