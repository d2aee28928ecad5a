#pragma once

#include "telvio/edition.h"
#include "texts/text_language.h"

#include <QString>
#include <string_view>

namespace kfg::dialogs {

// The settings files' keys as the main window names them, for a listing of earlier states.
// Names and keys are Windows-1252 bytes as the files hold them; the names come back in
// `language`, German or Spanish, the captions' languages.

// The name of `key` in `section` of `file`: a setting of Telvio by the caption of the control
// that shows it, or of that control's label ("Helligkeit", "Brillo"); a memory slot as its
// field is named ("Speicher 3", "Memoria 3"); a [KFG] key of "KFG.ini" by its meaning; any
// other key as it stands.
QString SettingName(std::string_view file, std::string_view section, std::string_view key,
                    texts::TextLanguage language);

// `value` of that key as the main window shows it: a list's entry for a list of `edition`, a
// language or a decoder by name; any other value as it stands.
QString SettingValue(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value, telvio::Edition edition, texts::TextLanguage language);

} // namespace kfg::dialogs
