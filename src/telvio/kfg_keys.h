#pragma once

#include "platform/no_repeats.h"
#include "settings/leading_integer.h"
#include "texts/text_language.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace kfg::settings {
class ProfileStore;
}

namespace kfg::telvio {

// The manager's own file and its section of the manager's settings.
inline constexpr std::string_view kManagerFile = "KFG.ini";
inline constexpr std::string_view kManagerSection = "KFG";

enum class KfgKey { Fr, Sprox, Audio, SoundInit, LineIn };

// One key of [KFG] with what its readers use. A buffer size of 0 means that reader does not
// read the key; `integerDefault` belongs to integer reads, where a stored value equal to it
// reads like a missing key.
struct KfgKeyInfo {
    KfgKey key;
    std::string_view name;
    std::string_view textDefault;
    int integerDefault;
    std::size_t startUpBuffer;    // the main dialog's reads at start-up
    std::size_t sideDialogBuffer; // the display-mode and audio decoder dialogs (first char only)
};

inline constexpr auto kKfgKeys = std::to_array<KfgKeyInfo>({
    {KfgKey::Fr, "Fr", "0", 0, 20, 2},               // "1" Spanish captions, "0" German
    {KfgKey::Sprox, "Sprox", "", 2, 0, 0},           // not 2: ask for the language once
    {KfgKey::Audio, "Audio", "0", 0, 20, 2},         // decoder: 0 none, 1 Sonora, 2 Tonalix
    {KfgKey::SoundInit, "SoundInit", "0", 0, 20, 0}, // check box 1067
    {KfgKey::LineIn, "LineIn", "0", 0, 20, 0},       // check box 1068
});

static_assert(platform::RowPerEnumerator(
                  kKfgKeys, [](const KfgKeyInfo& row) { return row.key; }, KfgKey::LineIn),
              "one [KFG] key row per key, in the order of the enumeration");

// Every key has a name of its own.
constexpr bool KfgKeyNamesHold() {
    for (const KfgKeyInfo& row : kKfgKeys) {
        if (row.name.empty()) {
            return false;
        }
    }
    return platform::NoRepeats(
        kKfgKeys, [](const KfgKeyInfo& a, const KfgKeyInfo& b) { return a.name == b.name; });
}
static_assert(KfgKeyNamesHold(), "a [KFG] key is unnamed or named twice");

// The row of `key`.
constexpr const KfgKeyInfo& Info(KfgKey key) {
    return kKfgKeys[static_cast<std::size_t>(key)];
}

enum class KfgReader { StartUp, SideDialog };

// A [KFG] key as the given reader reads it: the text into that reader's buffer (the side
// dialogs' holds one character), then its leading decimal number.
int ReadKfgNumber(settings::ProfileStore& store, const std::filesystem::path& managerFile,
                  KfgKey key, KfgReader reader);

// The two ways a read "Fr" becomes the captions' language, apart on purpose. The main dialog
// (and kfgctl, which shows the lists as it does) reads it at start-up: any value but 0 asks
// for Spanish.
constexpr texts::TextLanguage CaptionLanguageAtStartUp(int fr) {
    return fr != 0 ? texts::TextLanguage::Spanish : texts::TextLanguage::German;
}
// The side dialogs read its first character only: just "1" asks for Spanish.
constexpr texts::TextLanguage CaptionLanguageInSideDialog(int fr) {
    return fr == 1 ? texts::TextLanguage::Spanish : texts::TextLanguage::German;
}

// Writes [KFG] "SoundInit" and "LineIn" as the check boxes give them, "1" or "0", both in one
// replacement of the file.
void WriteSoundOptions(settings::ProfileStore& store, const std::filesystem::path& managerFile,
                       bool soundInit, bool lineIn);

// Display mode n of the 3.x editions is offered when key "n" (0..20, no leading zeros) holds
// exactly 1; a missing key reads as 0.
inline constexpr int kDisplayModeKeyDefault = 0;
std::string DisplayModeKey(int row);

} // namespace kfg::telvio
