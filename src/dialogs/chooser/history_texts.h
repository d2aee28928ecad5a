#pragma once

#include "texts/text_language.h"

#include <QString>

namespace kfg::dialogs {

// The texts of the window of earlier states. Opened from the main window it speaks the
// captions' language, on its own (the chooser, kfg --history) the locale's, as the chooser.
enum class HistoryText {
    Title,      // %1: the folder
    ListLabel,  // "&Frühere Stände:"
    TimeColumn, // when it was replaced
    FileColumn,
    ChangesColumn,    // what the next save changed
    DifferencesLabel, // the table of the selected state against the file now
    SettingColumn,
    InStateColumn,
    NowColumn,
    Restore,
    Close,
    MoreChanges,        // %1: how many more
    Change,             // %1 name, %2 value before, %3 value after
    InConfiguration,    // %1 the configuration, %2 a change in it
    ConfigurationSaved, // %1: its name
    ConfigurationDeleted,
    SectionAdded, // %1: the section of Telvio.ini
    SectionRemoved,
    Present,        // a whole section, in the table
    NoDifference,   // the selected state holds what the file holds now
    NothingKeptYet, // %1: where states are kept
    KeptIn,         // %1: where states are kept
    ChooseOne,
    RestoreQuestion,       // %1 the file, %2 the time
    RemovesConfigurations, // %1: names
    ChangesBackConfigurations,
    OtherEditionQuestion, // %1 the state's edition, %2 the file's
    UndecidedEditionQuestion,
    Yes,
    No,
    Restored,           // %1 the file, %2 the time
    ManagerRestored,    // what follows a restore of KFG.ini in the open main window
    NotKept,            // %1 the time, %2 the file, %3 why
    Unreadable,         // %1 the time, %2 the file, %3 why
    EarlierStatesEntry, // the main window's menu entry
};

QString HistoryTextIn(HistoryText text, texts::TextLanguage language);

} // namespace kfg::dialogs
