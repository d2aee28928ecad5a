#pragma once

#include "telvio/choice_tables.h"
#include "telvio/edition.h"

#include <array>
#include <string_view>

namespace kfg::telvio {

inline constexpr std::string_view kViewerSection = "Telvio";
inline constexpr std::string_view kErazorSection = "Telvio-Erazor";

// The editions that share one set of lists and check boxes in the dialog.
enum class EditionFamily { V283, Erazor, V3x };

// The memory slots of an edition: the key family and how many slots loading reads and saving
// writes (slots 0..count-1).
struct MemorySlotRule {
    std::string_view family; // "Station" or "Speicher"
    int read;
    int written;
};

// What sets an edition apart, beside which keys it reads and writes (the key table's columns).
struct EditionFacts {
    Edition edition;
    std::string_view name; // as the sample folders and the tools name it
    EditionFamily family;
    std::string_view section; // of "Telvio.ini"
    MemorySlotRule memorySlots;
    std::string_view versionLabel;  // shown beside "Telvio"
    std::string_view viewerProgram; // what "Start" hands over to
    IndexFilePrefix indexPrefix;
    const ChoiceTable* displayModes; // the 3.x editions: in German; Spanish has the same rows
    const ChoiceTable* cards;
};

// One row per edition, in the order of the editions' values.
inline constexpr auto kEditionFacts = std::to_array<EditionFacts>({
    {Edition::V283,
     "V283",
     EditionFamily::V283,
     kViewerSection,
     {"Station", 20, 10},
     "V 2.83",
     "Telvio.exe",
     kIndexPrefixTelvio,
     &DisplayModes283,
     &Cards283},
    {Edition::Erazor,
     "Erazor",
     EditionFamily::Erazor,
     kErazorSection,
     {"Station", 20, 0},
     "Erazor",
     "Telvio.exe",
     kIndexPrefixTelvioUnderscore,
     &DisplayModesErazor,
     &CardsErazor},
    {Edition::V31,
     "V31",
     EditionFamily::V3x,
     kViewerSection,
     {"Station", 20, 20},
     "V 3.1",
     "Telvio.exe",
     kIndexPrefixTelvioUnderscore,
     &DisplayModes3xGerman,
     &Cards31},
    {Edition::V311,
     "V311",
     EditionFamily::V3x,
     kViewerSection,
     {"Speicher", 40, 20},
     "V 3.11",
     "Telvio.exe",
     kIndexPrefixTelvioUnderscore,
     &DisplayModes3xGerman,
     &Cards31},
    {Edition::V283Quik,
     "V283Quik",
     EditionFamily::V283,
     kViewerSection,
     {"Station", 20, 10},
     "2.83 QUIK",
     "2QUIK!.exe",
     kIndexPrefixTelvio,
     &DisplayModes283,
     &Cards283},
    {Edition::V320,
     "V320",
     EditionFamily::V3x,
     kViewerSection,
     {"Speicher", 40, 40},
     "V 3.20",
     "Telvio.exe",
     kIndexPrefixTelvioUnderscore,
     &DisplayModes3xGerman,
     &Cards320},
});

namespace detail {
constexpr bool EditionFactsHold() {
    if (kEditionFacts.size() != static_cast<std::size_t>(kEditionCount)) {
        return false;
    }
    for (std::size_t i = 0; i < kEditionFacts.size(); ++i) {
        const EditionFacts& facts = kEditionFacts[i];
        const bool filled = !facts.name.empty() && !facts.section.empty() &&
                            !facts.memorySlots.family.empty() && !facts.versionLabel.empty() &&
                            !facts.viewerProgram.empty() && facts.displayModes != nullptr &&
                            facts.cards != nullptr;
        // Saving writes only what loading reads, and the record holds 40 slots.
        const bool slotsFit =
            facts.memorySlots.written <= facts.memorySlots.read && facts.memorySlots.read <= 40;
        if (static_cast<std::size_t>(facts.edition) != i || !filled || !slotsFit) {
            return false;
        }
    }
    return true;
}
} // namespace detail
static_assert(detail::EditionFactsHold(), "one filled row per edition, in value order");

constexpr const EditionFacts& FactsOf(Edition edition) {
    return kEditionFacts[static_cast<std::size_t>(edition)];
}

constexpr EditionMask EditionsOf(EditionFamily family) {
    EditionMask mask = 0;
    for (const EditionFacts& facts : kEditionFacts) {
        if (facts.family == family) {
            mask |= Bit(facts.edition);
        }
    }
    return mask;
}
inline constexpr EditionMask kEditions283 = EditionsOf(EditionFamily::V283);
inline constexpr EditionMask kEditions3x = EditionsOf(EditionFamily::V3x);

// The rows a list key's stored index counts in, for `edition`.
const ChoiceTable& ChoicesOf(ChoiceList list, Edition edition);

} // namespace kfg::telvio
