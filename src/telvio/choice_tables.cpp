#include "telvio/choice_tables.h"

#include "telvio/edition_facts.h"
#include "telvio/process_state.h"
#include "telvio/settings_record.h"

#include <algorithm>
#include <cstddef>

namespace kfg::telvio {
namespace {

// An index that is not a row leaves the text empty, so its list shows nothing and a save keeps
// the index; an earlier load's text would be saved in its place.
void AssignRow(std::string& member, const ChoiceTable& table, int index) {
    member.assign(RowText(table, index).value_or(std::string_view{}));
}

// One list read before saving: the text it shows, the tables it may hold (a 3.x display-mode
// list accepts either language) and the index the matching row becomes.
struct ListToIndex {
    std::string ListTexts::*shown;
    std::array<const ChoiceTable*, 2> tables; // second is null for a single table
    int ProcessState::*index;
};

// The last row i at which the text equals row i of any of the tables, as the viewer's own
// comparison loop does; nothing for no match.
std::optional<int> RowOfTextInAny(const std::array<const ChoiceTable*, 2>& tables,
                                  std::string_view text) {
    std::optional<int> found;
    for (const ChoiceTable* table : tables) {
        if (table == nullptr) {
            continue;
        }
        if (const std::optional<int> row = RowOfText(*table, text)) {
            found = std::max(found.value_or(*row), *row);
        }
    }
    return found;
}

void ApplyLists(std::span<const ListToIndex> lists, const ListTexts& shown, ProcessState& state) {
    for (const ListToIndex& list : lists) {
        if (const std::optional<int> row = RowOfTextInAny(list.tables, shown.*list.shown)) {
            state.*list.index = *row;
        }
    }
}

constexpr ListToIndex kTunerList[] = {
    {&ListTexts::tuner, {&Tuners, nullptr}, &ProcessState::Tuner},
};

constexpr ListToIndex k283Lists[] = {
    {&ListTexts::displayMode283, {&DisplayModes283, nullptr}, &ProcessState::DisplayMode},
    {&ListTexts::card283, {&Cards283, nullptr}, &ProcessState::TVKarte},
};

constexpr ListToIndex kErazorLists[] = {
    {&ListTexts::cardErazor, {&CardsErazor, nullptr}, &ProcessState::TVKarte},
    {&ListTexts::displayModeErazor, {&DisplayModesErazor, nullptr}, &ProcessState::DisplayMode},
    {&ListTexts::interpolation, {&InterpolationModes, nullptr}, &ProcessState::Interpolation},
};

} // namespace

std::optional<std::string_view> RowText(const ChoiceTable& table, int index) {
    if (index < 0 || index >= table.RowCount()) {
        return std::nullopt;
    }
    return table.rows[static_cast<std::size_t>(index)];
}

std::optional<int> RowOfText(const ChoiceTable& table, std::string_view text) {
    // No row is empty, so the empty text finds nothing without a special case.
    for (int row = table.RowCount() - 1; row >= 0; --row) {
        if (table.rows[static_cast<std::size_t>(row)] == text) {
            return row;
        }
    }
    return std::nullopt;
}

const ChoiceTable& DisplayModes3xFor(texts::TextLanguage language) {
    return language == texts::TextLanguage::Spanish ? DisplayModes3xSpanish : DisplayModes3xGerman;
}

const ChoiceTable& Cards3xFor(Edition edition) {
    // Outside the 3.x family the list is hidden; it holds the cards of 3.1.
    const EditionFacts& facts = FactsOf(edition);
    return facts.family == EditionFamily::V3x ? *facts.cards : Cards31;
}

const ChoiceTable& ChoicesOf(ChoiceList list, Edition edition) {
    switch (list) {
    case ChoiceList::DisplayModeList:
        return *FactsOf(edition).displayModes;
    case ChoiceList::CardList:
        return *FactsOf(edition).cards;
    case ChoiceList::TunerList:
        return Tuners;
    case ChoiceList::InterpolationList:
        return InterpolationModes;
    case ChoiceList::None:
        break;
    }
    static constexpr ChoiceTable kNoRows{};
    return kNoRows;
}

const ChoiceTable& ShownChoices(ChoiceList list, Edition edition, texts::TextLanguage language) {
    const ChoiceTable& table = ChoicesOf(list, edition);
    return &table == &DisplayModes3xGerman ? DisplayModes3xFor(language) : table;
}

std::optional<int> RowOfChoiceText(ChoiceList list, Edition edition, std::string_view text) {
    const ChoiceTable& table = ChoicesOf(list, edition);
    return RowOfTextInAny(
        {&table, &table == &DisplayModes3xGerman ? &DisplayModes3xSpanish : nullptr}, text);
}

void ChoiceTextsFromIndices(SettingsRecord& record, const ProcessState& state) {
    AssignRow(record.DisplayModeText3x, DisplayModes3xFor(state.LanguageFlag), state.DisplayMode);
    AssignRow(record.DisplayModeText283, DisplayModes283, state.DisplayMode);
    AssignRow(record.DisplayModeTextErazor, DisplayModesErazor, state.DisplayMode);
    AssignRow(record.TVKarteText3x, Cards3xFor(state.Edition), state.TVKarte);
    AssignRow(record.TVKarteText283, Cards283, state.TVKarte);
    AssignRow(record.TVKarteTextErazor, CardsErazor, state.TVKarte);
    AssignRow(record.TunerText, Tuners, state.Tuner);
    AssignRow(record.InterpolationText, InterpolationModes, state.Interpolation);
}

void ChoiceIndicesFromTexts(const ListTexts& shown, ProcessState& state) {
    // The tuner is translated for every edition, Erazor included, though its list is hidden.
    ApplyLists(kTunerList, shown, state);
    switch (FactsOf(state.Edition).family) {
    case EditionFamily::V283:
        ApplyLists(k283Lists, shown, state);
        return;
    case EditionFamily::Erazor:
        ApplyLists(kErazorLists, shown, state);
        return;
    case EditionFamily::V3x: {
        // The card list was filled from the edition's table; the display-mode list may be in
        // either language, so both tables are compared.
        const ListToIndex lists[] = {
            {&ListTexts::displayMode3x,
             {&DisplayModes3xGerman, &DisplayModes3xSpanish},
             &ProcessState::DisplayMode},
            {&ListTexts::card3x, {&Cards3xFor(state.Edition), nullptr}, &ProcessState::TVKarte},
        };
        ApplyLists(lists, shown, state);
        return;
    }
    }
}

} // namespace kfg::telvio
