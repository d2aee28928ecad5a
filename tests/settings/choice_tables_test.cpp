#include "settings/choice_tables.h"
#include "settings/process_state.h"
#include "settings/settings_record.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::settings {
namespace {

TEST(ChoiceTables, RowTextStaysInsideEveryTable) {
    for (const ChoiceTable* table :
         {&DisplayModes3xGerman, &DisplayModes3xSpanish, &DisplayModes283, &DisplayModesErazor,
          &Tuners, &Cards31, &Cards320, &Cards283, &CardsErazor, &InterpolationModes}) {
        const int rows = table->RowCount();
        EXPECT_EQ(RowText(*table, -1), std::nullopt);
        EXPECT_EQ(RowText(*table, rows - 1), table->rows.back());
        EXPECT_EQ(RowText(*table, rows), std::nullopt);
        // Every row finds itself: no table holds an empty or a repeated row.
        for (int row = 0; row < rows; ++row) {
            EXPECT_EQ(RowOfText(*table, *RowText(*table, row)), row) << table->rows.front();
        }
    }
}

TEST(ChoiceTables, RowOfTextIsExact) {
    const std::pair<const ChoiceTable*, std::string_view> cases[] = {
        {&InterpolationModes, "aus"},
        {&InterpolationModes, " Aus"},
        {&DisplayModes3xGerman, "720*576 RVB"},
        {&Cards283, std::string_view("Keine\0", 6)},
    };
    for (const auto& [table, text] : cases) {
        EXPECT_EQ(RowOfText(*table, text), std::nullopt) << text;
    }
}

constexpr auto kGerman = platform::TextLanguage::German;
constexpr auto kSpanish = platform::TextLanguage::Spanish;

ProcessState State(Edition edition, platform::TextLanguage language = kGerman) {
    ProcessState state;
    state.Edition = edition;
    state.LanguageFlag = language;
    return state;
}

TEST(ChoiceTextsFromIndices, TablesFollowEditionAndLanguage) {
    // The edition and language, the indices, and the texts they give.
    const std::tuple<Edition, platform::TextLanguage, int, int, const char*, const char*> cases[] =
        {
            {Edition::V31, kGerman, 0, 3, "Im Fenster", "Fly Video II"},
            {Edition::V311, kSpanish, 12, 3, "512*384 RVB", "Fly Video II"},
            // V283 takes the 3.x cards of V31.
            {Edition::V283, kSpanish, 0, 13, "En Ventana", "Leadtek 601"},
        };
    for (const auto& [edition, language, displayMode, card, displayModeText, cardText] : cases) {
        ProcessState state = State(edition, language);
        state.DisplayMode = displayMode;
        state.TVKarte = card;
        SettingsRecord record;
        ChoiceTextsFromIndices(record, state);
        EXPECT_EQ(record.DisplayModeText3x, displayModeText) << displayMode;
        EXPECT_EQ(record.TVKarteText3x, cardText) << card;
    }
}

TEST(ChoiceTextsFromIndices, IndexOutsideATableEmptiesTheText) {
    SettingsRecord r;
    r.DisplayModeText3x = r.DisplayModeText283 = r.DisplayModeTextErazor = r.TVKarteText3x =
        r.TVKarteText283 = r.TVKarteTextErazor = r.TunerText = r.InterpolationText = "old";

    // 5 is a row of the 3.x and 283 display modes and of both 3.x card tables only; an earlier
    // load's text must not stand in for the index (a save would write that text's row).
    ProcessState state = State(Edition::V320, kSpanish);
    state.DisplayMode = 5;
    state.TVKarte = 14; // a row of Cards320 only
    state.Tuner = 5;
    state.Interpolation = -1;
    ChoiceTextsFromIndices(r, state);
    EXPECT_EQ((std::vector<std::string>{r.DisplayModeText3x, r.DisplayModeText283,
                                        r.DisplayModeTextErazor, r.TVKarteText3x, r.TVKarteText283,
                                        r.TVKarteTextErazor, r.TunerText, r.InterpolationText}),
              (std::vector<std::string>{"720*576 YUY2", "800*600 YUY2 HQ", "", "Leadtek 601", "",
                                        "", "", ""}));
}

struct Indices {
    int displayMode;
    int tuner;
    int card;
    int interpolation;
    bool operator==(const Indices&) const = default;
    friend void PrintTo(const Indices& i, std::ostream* out) {
        *out << i.displayMode << ' ' << i.tuner << ' ' << i.card << ' ' << i.interpolation;
    }
};

constexpr Indices kBefore{7, 2, 3, 2};

Indices Translate(Edition edition, const ListTexts& shown) {
    ProcessState state = State(edition);
    state.DisplayMode = kBefore.displayMode;
    state.Tuner = kBefore.tuner;
    state.TVKarte = kBefore.card;
    state.Interpolation = kBefore.interpolation;
    ChoiceIndicesFromTexts(shown, state);
    return {state.DisplayMode, state.Tuner, state.TVKarte, state.Interpolation};
}

// Every list shows a text that matches a row different from kBefore.
ListTexts AllListsShowingSomething() {
    ListTexts shown;
    shown.tuner = "Temic PAL B/G";              // 0
    shown.displayMode3x = "Im Fenster +";       // 1
    shown.displayMode283 = "800*600 Erazor";    // 22
    shown.displayModeErazor = "640*480 TV-Out"; // 4
    shown.card3x = "Miro PCTV";                 // 2 in both 3.x card tables
    shown.card283 = "Keine";                    // 0
    shown.cardErazor = "Elsa Victory Erazor";   // 0
    shown.interpolation = "Aus";                // 0
    return shown;
}

TEST(ChoiceIndicesFromTexts, OnlyTheEditionsOwnListsAndTheTunerCount) {
    const std::pair<Edition, Indices> cases[] = {
        {Edition::V31, {1, 0, 2, 2}},       {Edition::V311, {1, 0, 2, 2}},
        {Edition::V320, {1, 0, 2, 2}},      {Edition::V283, {22, 0, 0, 2}},
        {Edition::V283Quik, {22, 0, 0, 2}}, {Edition::Erazor, {4, 0, 0, 0}},
    };
    for (const auto& [edition, expected] : cases) {
        SCOPED_TRACE(static_cast<int>(edition));
        EXPECT_EQ(Translate(edition, AllListsShowingSomething()), expected);
        EXPECT_EQ(Translate(edition, ListTexts{}), kBefore); // empty texts keep all
    }
}

TEST(ChoiceIndicesFromTexts, SingleTexts) {
    struct Case {
        const char* name;
        Edition edition;
        std::string ListTexts::*list;
        std::string text;
        Indices expected;
    };
    const Case cases[] = {
        // Either 3.x language is accepted, whichever captions are in force.
        {"Spanish text under German captions",
         Edition::V31,
         &ListTexts::displayMode3x,
         "640*480 RVB",
         {14, 2, 3, 2}},
        {"3.x mode from the 283 table only", Edition::V31, &ListTexts::displayMode3x,
         "Im Fenster HQ", kBefore},
        // The card list of V320 holds Cards320; that of V31 and V311 holds Cards31.
        {"V320 card", Edition::V320, &ListTexts::card3x, "Leadtek 601", {7, 2, 14, 2}},
        {"V31 card", Edition::V31, &ListTexts::card3x, "Leadtek 601", {7, 2, 13, 2}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ListTexts shown;
        shown.*test.list = test.text;
        EXPECT_EQ(Translate(test.edition, shown), test.expected);
    }
}

} // namespace
} // namespace kfg::settings
