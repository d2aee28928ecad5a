#pragma once

#include "texts/text_language.h"

#include <QString>

namespace kfg::dialogs {

// The folder chooser's texts. It comes before any "Telvio.ini" is read, so it speaks the
// language of the user's locale (as kfgctl does), not the one KFG.ini keeps.
enum class ChooserText {
    Title,
    ListLabel,
    EditionColumn,
    FolderColumn,
    Searching,
    ChooseOne,
    NothingFound, // %1: the places looked in, one a line
    Refused,      // %1: the folder
    Open,
    OtherFolder,
    Cancel,
    FolderDialogTitle,
    RecentPlace,
    EarlierStates,
};

QString ChooserTextIn(ChooserText text, texts::TextLanguage language);

} // namespace kfg::dialogs
