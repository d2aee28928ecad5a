#include "settings/viewer_keys.h"

#include "settings/kfg_keys.h"
#include "settings/profile_store.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kfg::settings {
namespace {

constexpr EditionMask kErazor = Bit(Edition::Erazor);
constexpr EditionMask kV31 = Bit(Edition::V31);
constexpr EditionMask kV311 = Bit(Edition::V311);
constexpr EditionMask kQuik = Bit(Edition::V283Quik);
constexpr EditionMask kV320 = Bit(Edition::V320);
constexpr EditionMask k283 = kEditions283;
constexpr EditionMask k3x = kEditions3x;
constexpr EditionMask kAll = kAllEditions;

using R = SettingsRecord;
using S = ProcessState;

constexpr ViewerKey Rec(std::string_view name, std::string_view def, int R::*member, int order,
                        EditionMask writtenBy, EditionMask readBy = kAll) {
    return {KeyKind::Single, name, def, member, nullptr, readBy, order, writtenBy};
}
constexpr ViewerKey State(std::string_view name, std::string_view def, int S::*member, int order,
                          EditionMask writtenBy, EditionMask readBy = kAll) {
    return {KeyKind::Single, name, def, nullptr, member, readBy, order, writtenBy};
}

// Read order top to bottom; the second number is the position in a save.
constexpr std::array<ViewerKey, 35> kKeys{{
    Rec("Debug", "0", &R::Debug, 1, kAll),
    Rec("Testzeilen", "16", &R::Testzeilen, 2, kAll),
    Rec("HoeheRand", "0", &R::HoeheRand, 3, kErazor | kV31 | kV311),
    State("DisplayMode", "0", &S::DisplayMode, 6, kAll),
    State("Tuner", "0", &S::Tuner, 8, kAll & ~kErazor),
    State("TVKarte", "0", &S::TVKarte, 9, kAll),
    Rec("Status", "0", &R::Status, 10, k3x),
    Rec("Secam", "0", &R::Secam, 12, kAll & ~kErazor),
    Rec("PLL", "0", &R::PLL, 13, k3x),
    Rec("Priority", "0", &R::Priority, 15, k283 | kErazor | kV31),
    Rec("Turbo", "1", &R::Turbo, 16, kV311 | kV320),
    Rec("Farbe", "254", &R::Farbe, 24, kAll & ~kErazor),
    Rec("Helligkeit", "128", &R::Helligkeit, 25, kAll & ~kErazor),
    Rec("Kontrast", "216", &R::Kontrast, 26, kAll & ~kErazor),
    Rec("Loudness", "0", &R::Loudness, 19, kV311 | kV320),
    Rec("Spartial", "0", &R::Spartial, 20, kV311 | kV320),
    {KeyKind::MemorySlots, "", "0", nullptr, nullptr, kAll, 27, kAll & ~kErazor},
    // Read right after the slots, and only by the editions that have them.
    State("Links", "0", &S::Links, 31, kV320, kV311 | kV320),
    State("Oben", "0", &S::Oben, 32, kV320, kV311 | kV320),
    State("Rechts", "0", &S::Rechts, 33, kV320, kV311 | kV320),
    State("Unten", "0", &S::Unten, 34, kV320, kV311 | kV320),
    Rec("Vordergrund", "0", &R::Vordergrund, 28, kV320, kV311 | kV320),
    Rec("RandAutomatik", "0", &R::RandAutomatik, 30, kV320, kV311 | kV320),
    Rec("Proportional", "0", &R::Proportional, 29, kV320, kV311 | kV320),
    Rec("ErsteZeile", "1", &R::ErsteZeile, 4, k283),
    Rec("LetzteZeile", "285", &R::LetzteZeile, 5, k283),
    State("CaptureDevice", "0", &S::CaptureDevice, 7, k283 | kErazor),
    Rec("Statistik", "0", &R::Statistik, 10, k283 | kErazor),
    Rec("OptimierungBT", "0", &R::OptimierungBT, 11, k283),
    Rec("PALplus", "0", &R::PALplus, 14, k283),
    Rec("SchwarzeZeile", "0", &R::SchwarzeZeile, 17, k283),
    Rec("Austastung", "0", &R::Austastung, 18, k283),
    State("Interpolation", "0", &S::Interpolation, 22, kErazor),
    Rec("Line-In", "0", &R::LineIn, 23, kErazor),
    Rec("Accel", "0", &R::Accel, 21, kQuik),
}}; // Volume, IndexFileSelection and SoundOptionsChanged are never stored.

// Indexed by the edition's value.
constexpr std::array<MemorySlotRule, 6> kSlotRules{{
    {"Station", 20, 10},  // V283
    {"Station", 20, 0},   // Erazor
    {"Station", 20, 20},  // V31
    {"Speicher", 40, 20}, // V311
    {"Station", 20, 10},  // V283Quik
    {"Speicher", 40, 40}, // V320
}};

constexpr std::size_t kValueBuffer = 20; // values longer than 19 characters are cut

std::span<const ViewerKey> Table() {
    return kKeys;
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

std::string SlotKey(const MemorySlotRule& rule, int slot) {
    return std::string(rule.family) + std::to_string(slot);
}

int ReadNumber(ProfileStore& store, const std::filesystem::path& file, std::string_view section,
               std::string_view key, std::string_view defaultText) {
    return LeadingInteger(store.GetString(file, section, key, defaultText, kValueBuffer));
}

} // namespace

std::string_view ViewerSectionFor(Edition edition) {
    return edition == Edition::Erazor ? kErazorSection : kViewerSection;
}

std::span<const ViewerKey> ViewerKeysInReadOrder() {
    return Table();
}

const MemorySlotRule& SlotRuleFor(Edition edition) {
    return kSlotRules.at(static_cast<std::size_t>(edition));
}

void LoadViewerKeys(ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, SettingsRecord& record,
                    ProcessState& state) {
    for (const ViewerKey& key : Table()) {
        if (!Includes(key.readBy, edition)) {
            continue;
        }
        if (key.kind == KeyKind::MemorySlots) {
            const MemorySlotRule& rule = SlotRuleFor(edition);
            for (int slot = 0; slot < rule.read; ++slot) {
                record.Memory[static_cast<std::size_t>(slot)] =
                    ReadNumber(store, file, section, SlotKey(rule, slot), key.defaultText);
            }
            continue;
        }
        int& value = key.inRecord != nullptr ? record.*(key.inRecord) : state.*(key.inState);
        value = ReadNumber(store, file, section, key.name, key.defaultText);
    }
}

void SaveViewerKeys(ProfileStore& store, const std::filesystem::path& file,
                    std::string_view section, Edition edition, const SettingsRecord& record,
                    const ProcessState& state) {
    for (const ViewerKey* key : InWriteOrder()) {
        if (!Includes(key->writtenBy, edition)) {
            continue;
        }
        if (key->kind == KeyKind::MemorySlots) {
            const MemorySlotRule& rule = SlotRuleFor(edition);
            for (int slot = 0; slot < rule.written; ++slot) {
                const int value = record.Memory[static_cast<std::size_t>(slot)];
                if (value != 0) {
                    store.WriteString(file, section, SlotKey(rule, slot), std::to_string(value));
                }
            }
            continue;
        }
        const int value =
            key->inRecord != nullptr ? record.*(key->inRecord) : state.*(key->inState);
        store.WriteString(file, section, key->name, std::to_string(value));
    }
}

} // namespace kfg::settings
