#pragma once

#include "settings/state_differences.h"
#include "telvio/edition.h"
#include "texts/text_language.h"

#include <QString>
#include <QStringList>
#include <string_view>
#include <vector>

namespace kfg::dialogs {

// How the window of earlier states names what differs between two states of a file.
struct ChangeNaming {
    texts::TextLanguage language;        // the window's own sentences
    texts::TextLanguage captionLanguage; // the settings, as the main window names them
    telvio::Edition folderEdition;       // lists of "KFG.ini" show this edition's entries
};

// One difference, said in a line: "Helligkeit 128 → 200", "Speicher 3 24 → 0", "Abend
// gelöscht", "Abend: Helligkeit 110 → 128".
QString ChangeText(std::string_view file, const settings::StateDifference& difference,
                   std::string_view before, std::string_view after, const ChangeNaming& naming);

// What changed from `before` to `after`, at most three changes, then "+N weitere"; empty when
// nothing a reader sees changed.
QString ChangeSummary(std::string_view file, std::string_view before, std::string_view after,
                      const ChangeNaming& naming);

// One line of the table of differences between a kept state and the file now.
struct DifferenceRow {
    QString setting;
    QString inState;
    QString now;
};
std::vector<DifferenceRow> DifferenceRows(std::string_view file, std::string_view state,
                                          std::string_view now, const ChangeNaming& naming);

// The configurations of "KFG.ini" that putting `state` back over `now` removes, and those it
// changes back, by name (UTF-8).
struct ConfigurationChanges {
    QStringList removed;
    QStringList changedBack;
};
ConfigurationChanges ConfigurationsRestoreChanges(std::string_view state, std::string_view now);

} // namespace kfg::dialogs
