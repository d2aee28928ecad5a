#include "telvio/choice_tables.h"
#include "telvio/process_state.h"
#include "telvio/settings_record.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::telvio {
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
    struct Case {
        const ChoiceTable* table;
        std::string_view text; // no row of the table
    };
    const Case cases[] = {
        {.table = &InterpolationModes, .text = "aus"},
        {.table = &InterpolationModes, .text = " Aus"},
        {.table = &DisplayModes3xGerman, .text = "720*576 RVB"},
        {.table = &Cards283, .text = std::string_view("Keine\0", 6)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowOfText(*c.table, c.text), std::nullopt) << c.text;
    }
}

constexpr auto kGerman = texts::TextLanguage::German;
constexpr auto kSpanish = texts::TextLanguage::Spanish;

ProcessState State(Edition edition, texts::TextLanguage language = kGerman) {
    ProcessState state;
    state.Edition = edition;
    state.LanguageFlag = language;
    return state;
}

TEST(ChoiceTextsFromIndices, TablesFollowEditionAndLanguage) {
    struct Case {
        Edition edition;
        texts::TextLanguage language;
        int displayMode;
        int card;
        const char* displayModeText;
        const char* cardText;
    };
    const Case cases[] = {
        {.edition = Edition::V31,
         .language = kGerman,
         .displayMode = 0,
         .card = 3,
         .displayModeText = "Im Fenster",
         .cardText = "Fly Video II"},
        {.edition = Edition::V311,
         .language = kSpanish,
         .displayMode = 12,
         .card = 3,
         .displayModeText = "512*384 RVB",
         .cardText = "Fly Video II"},
        // V283 takes the 3.x cards of V31.
        {.edition = Edition::V283,
         .language = kSpanish,
         .displayMode = 0,
         .card = 13,
         .displayModeText = "En Ventana",
         .cardText = "Leadtek 601"},
    };
    for (const Case& c : cases) {
        ProcessState state = State(c.edition, c.language);
        state.DisplayMode = c.displayMode;
        state.TVKarte = c.card;
        SettingsRecord record;
        ChoiceTextsFromIndices(record, state);
        EXPECT_EQ(record.DisplayModeText3x, c.displayModeText) << c.displayMode;
        EXPECT_EQ(record.TVKarteText3x, c.cardText) << c.card;
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

constexpr Indices kBefore{.displayMode = 7, .tuner = 2, .card = 3, .interpolation = 2};

Indices Translate(Edition edition, const ListTexts& shown) {
    ProcessState state = State(edition);
    state.DisplayMode = kBefore.displayMode;
    state.Tuner = kBefore.tuner;
    state.TVKarte = kBefore.card;
    state.Interpolation = kBefore.interpolation;
    ChoiceIndicesFromTexts(shown, state);
    return {.displayMode = state.DisplayMode,
            .tuner = state.Tuner,
            .card = state.TVKarte,
            .interpolation = state.Interpolation};
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

// One edition of each family; which family an edition is of, the keys it writes pin down.
TEST(ChoiceIndicesFromTexts, OnlyTheEditionsOwnListsAndTheTunerCount) {
    struct Case {
        Edition edition;
        Indices expected;
    };
    const Case cases[] = {
        {.edition = Edition::V31,
         .expected = {.displayMode = 1, .tuner = 0, .card = 2, .interpolation = 2}},
        {.edition = Edition::V283,
         .expected = {.displayMode = 22, .tuner = 0, .card = 0, .interpolation = 2}},
        {.edition = Edition::Erazor,
         .expected = {.displayMode = 4, .tuner = 0, .card = 0, .interpolation = 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.edition));
        EXPECT_EQ(Translate(c.edition, AllListsShowingSomething()), c.expected);
        EXPECT_EQ(Translate(c.edition, ListTexts{}), kBefore); // empty texts keep all
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
        {.name = "Spanish text under German captions",
         .edition = Edition::V31,
         .list = &ListTexts::displayMode3x,
         .text = "640*480 RVB",
         .expected = {.displayMode = 14, .tuner = 2, .card = 3, .interpolation = 2}},
        {.name = "3.x mode from the 283 table only",
         .edition = Edition::V31,
         .list = &ListTexts::displayMode3x,
         .text = "Im Fenster HQ",
         .expected = kBefore},
        // The card list of V320 holds Cards320; that of V31 and V311 holds Cards31.
        {.name = "V320 card",
         .edition = Edition::V320,
         .list = &ListTexts::card3x,
         .text = "Leadtek 601",
         .expected = {.displayMode = 7, .tuner = 2, .card = 14, .interpolation = 2}},
        {.name = "V31 card",
         .edition = Edition::V31,
         .list = &ListTexts::card3x,
         .text = "Leadtek 601",
         .expected = {.displayMode = 7, .tuner = 2, .card = 13, .interpolation = 2}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ListTexts shown;
        shown.*test.list = test.text;
        EXPECT_EQ(Translate(test.edition, shown), test.expected);
    }
}

} // namespace
} // namespace kfg::telvio
