#pragma once

#include "platform/state_folder.h"
#include "texts/text_language.h"

#include <filesystem>

class QWidget;

namespace kfg::app {

// The window of earlier states of `folder` on its own (kfg --history, the chooser's button),
// the states kept in `stateFolder`: the window in `language`, the settings named as the
// folder's main window names them, Qt's own words in `language` too. Returns when the window
// closes.
void ShowEarlierStatesOf(const std::filesystem::path& folder, texts::TextLanguage language,
                         QWidget* parent, const platform::StateFolder& stateFolder);

} // namespace kfg::app
