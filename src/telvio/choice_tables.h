#pragma once

#include "telvio/edition.h"
#include "texts/text_language.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kfg::telvio {

struct SettingsRecord;
struct ProcessState;

// A fixed, ordered list of names. A stored choice index is a 0-based row of one of these.
struct ChoiceTable {
    std::span<const std::string_view> rows;
    constexpr int RowCount() const { return static_cast<int>(rows.size()); }
};

// The display modes of the 3.x editions; also the number of enable keys "0".."20" in KFG.ini.
inline constexpr int kDisplayModes3xRows = 21;

namespace choice_rows {
// The rows live in arrays of their own so that each table is a constant without any
// start-up initialisation. Plain ASCII, so UTF-8 and Windows-1252 agree byte for byte.
inline constexpr auto kDisplayModes3xGerman = std::to_array<std::string_view>({
    "Im Fenster",      "Im Fenster +",   "Im Fenster ++",   "400*300 YUY2", "640*480 YUY2",
    "720*576 YUY2",    "720*576 YUY2 +", "720*576 YUY2 ++", "800*600 YUY2", "800*600 YUY2 +",
    "800*600 YUY2 ++", "400*300 RGB",    "512*384 RGB",     "640*400 RGB",  "640*480 RGB",
    "720*576 RGB",     "720*576 RGB +",  "720*576 RGB ++",  "800*600 RGB",  "800*600 RGB +",
    "800*600 RGB ++",
});
inline constexpr auto kDisplayModes3xSpanish = std::to_array<std::string_view>({
    "En Ventana",      "En Ventana +",   "En Ventana ++",   "400*300 YUY2", "640*480 YUY2",
    "720*576 YUY2",    "720*576 YUY2 +", "720*576 YUY2 ++", "800*600 YUY2", "800*600 YUY2 +",
    "800*600 YUY2 ++", "400*300 RVB",    "512*384 RVB",     "640*400 RVB",  "640*480 RVB",
    "720*576 RVB",     "720*576 RVB +",  "720*576 RVB ++",  "800*600 RVB",  "800*600 RVB +",
    "800*600 RVB ++",
});
inline constexpr auto kDisplayModes283 = std::to_array<std::string_view>({
    "400*300 YUY2",    "640*480 YUY2",   "800*600 YUY2",   "400*300 YUY2 HQ",   "640*480 YUY2 HQ",
    "800*600 YUY2 HQ", "400*300 RGB",    "512*384 RGB",    "640*400 RGB",       "640*480 RGB",
    "720*480 RGB",     "720*576 RGB",    "800*600 RGB",    "400*300 RGB HQ",    "512*384 RGB HQ",
    "640*400 RGB HQ",  "640*480 RGB HQ", "720*480 RGB HQ", "720*576 RGB HQ",    "800*600 RGB HQ",
    "Im Fenster",      "Im Fenster HQ",  "800*600 Erazor", "800*600 Erazor HQ",
});
inline constexpr auto kDisplayModesErazor = std::to_array<std::string_view>({
    "352*288 YUY2",
    "384*288 YUY2",
    "352*288 Fenster",
    "384*288 Fenster",
    "640*480 TV-Out",
});
inline constexpr auto kTuners = std::to_array<std::string_view>({
    "Temic PAL B/G",
    "Temic PAL I",
    "Philips PAL B/G",
    "Philips PAL I",
    "Philips SECAM",
});
inline constexpr auto kCards31 = std::to_array<std::string_view>({
    "Hauppauge BT848",
    "Hauppauge BT878",
    "Miro PCTV",
    "Fly Video II",
    "Typhoon Tuner",
    "AIMS VideoHighway",
    "Image World",
    "Guillemot MaxiTV",
    "TV-Boostar",
    "Terratec TerraTV+",
    "Avermedia Cap98",
    "Askey MagicXpress",
    "Askey MagicTview",
    "Leadtek 601",
});
inline constexpr auto kCards320 = std::to_array<std::string_view>({
    "Hauppauge WinTV",
    "Hauppauge Radio",
    "Miro PCTV",
    "Miro PCTV pro",
    "Fly Video II",
    "Typhoon Tuner",
    "AIMS VideoHighway",
    "Image World",
    "Guillemot MaxiTV",
    "TV-Boostar",
    "Terratec TerraTV+",
    "Avermedia Cap98",
    "Askey MagicXpress",
    "Askey MagicTview",
    "Leadtek 601",
});
inline constexpr auto kCards283 = std::to_array<std::string_view>({
    "Keine",
    "Hauppauge BT848",
    "Hauppauge BT878",
    "Miro PCTV",
});
inline constexpr auto kCardsErazor = std::to_array<std::string_view>({"Elsa Victory Erazor"});
inline constexpr auto kInterpolationModes = std::to_array<std::string_view>({
    "Aus",
    "Zeile kopieren",
    "Zeile auslassen",
});
} // namespace choice_rows

// Display modes of V31, V311 and V320, by caption language.
inline constexpr ChoiceTable DisplayModes3xGerman{choice_rows::kDisplayModes3xGerman};
inline constexpr ChoiceTable DisplayModes3xSpanish{choice_rows::kDisplayModes3xSpanish};
// Display modes of V283 and V283Quik.
inline constexpr ChoiceTable DisplayModes283{choice_rows::kDisplayModes283};
inline constexpr ChoiceTable DisplayModesErazor{choice_rows::kDisplayModesErazor};
inline constexpr ChoiceTable Tuners{choice_rows::kTuners};
// TV cards of V31 and V311, and of V320.
inline constexpr ChoiceTable Cards31{choice_rows::kCards31};
inline constexpr ChoiceTable Cards320{choice_rows::kCards320};
// TV cards of V283 and V283Quik.
inline constexpr ChoiceTable Cards283{choice_rows::kCards283};
inline constexpr ChoiceTable CardsErazor{choice_rows::kCardsErazor};
// Erazor only.
inline constexpr ChoiceTable InterpolationModes{choice_rows::kInterpolationModes};

// The stored indices are row numbers, so a changed row count would reinterpret users' files.
static_assert(DisplayModes3xGerman.RowCount() == kDisplayModes3xRows);
static_assert(DisplayModes3xSpanish.RowCount() == kDisplayModes3xRows);
static_assert(DisplayModes283.RowCount() == 24);
static_assert(DisplayModesErazor.RowCount() == 5);
static_assert(Tuners.RowCount() == 5);
static_assert(Cards31.RowCount() == 14);
static_assert(Cards320.RowCount() == 15);
static_assert(Cards283.RowCount() == 4);
static_assert(CardsErazor.RowCount() == 1);
static_assert(InterpolationModes.RowCount() == 3);

// A list shows nothing for an empty row, and the lookups rely on no row being empty.
constexpr bool NoEmptyRow(const ChoiceTable& table) {
    for (const std::string_view row : table.rows) {
        if (row.empty()) {
            return false;
        }
    }
    return true;
}
static_assert(NoEmptyRow(DisplayModes3xGerman) && NoEmptyRow(DisplayModes3xSpanish) &&
              NoEmptyRow(DisplayModes283) && NoEmptyRow(DisplayModesErazor) && NoEmptyRow(Tuners) &&
              NoEmptyRow(Cards31) && NoEmptyRow(Cards320) && NoEmptyRow(Cards283) &&
              NoEmptyRow(CardsErazor) && NoEmptyRow(InterpolationModes));

// Which choice table a stored index counts in; the edition picks the table of its family.
enum class ChoiceList { None, DisplayModeList, CardList, TunerList, InterpolationList };

// Row `index` of `table`; nothing when `index` is not a row (negative or >= the row count).
std::optional<std::string_view> RowText(const ChoiceTable& table, int index);

// The last row whose text equals `text` exactly (case-sensitive, whole text); nothing when no
// row does, which includes the empty text.
std::optional<int> RowOfText(const ChoiceTable& table, std::string_view text);

// The 3.x display-mode table in the captions' `language`.
const ChoiceTable& DisplayModes3xFor(texts::TextLanguage language);

// The card table of the 3.x lists: Cards320 for V320, Cards31 for every other edition.
const ChoiceTable& Cards3xFor(Edition edition);

// The rows a list key of `edition` shows in the captions' `language`: ChoicesOf(), but the 3.x
// display modes in that language.
const ChoiceTable& ShownChoices(ChoiceList list, Edition edition, texts::TextLanguage language);

// The row of `edition`'s list whose text is `text` in either caption language (exactly, as a
// save compares the text a list shows); nothing when no row has it.
std::optional<int> RowOfChoiceText(ChoiceList list, Edition edition, std::string_view text);

// After loading: sets the eight list texts of `record` from the choice indices of `state`,
// every table of each kind whatever the edition. A text whose index is not a row of its table
// becomes empty.
void ChoiceTextsFromIndices(SettingsRecord& record, const ProcessState& state);

// What the eight choice lists show (the selected entry, or the typed text of an editable list),
// as read from the controls before saving.
struct ListTexts {
    std::string tuner;             // 1070
    std::string displayMode3x;     // 1012
    std::string displayMode283;    // 1100
    std::string displayModeErazor; // 1117
    std::string card3x;            // 1071
    std::string card283;           // 1099
    std::string cardErazor;        // 1116
    std::string interpolation;     // 1118
};

// Before saving: the tuner text for every edition, then the texts of the edition's own lists,
// set the choice indices of `state`. A 3.x display-mode text of either language counts. A
// text that equals no row (the empty text included) leaves its index as it was; the lists of
// other editions are ignored.
void ChoiceIndicesFromTexts(const ListTexts& shown, ProcessState& state);

} // namespace kfg::telvio
