#pragma once

// The main dialog's questions, in the captions' language (German or Spanish; the English column
// only completes the table).
#include "texts/text_language.h"

#include <QString>

namespace kfg::dialogs {

// %1 stands for the configuration's name.
inline constexpr texts::Texts kOverwriteConfigurationQuestion{
    "The configuration %1 exists already. Replace it?",
    "Die Konfiguration %1 gibt es schon. Überschreiben?",
    "La configuración %1 ya existe. ¿Sobrescribirla?"};

// Start, when a value it would write into "Telvio.ini" changed on disk since the window loaded
// or saved it.
inline constexpr texts::Texts kViewerFileChangedQuestion{
    "Telvio.ini has changed since KFG loaded it. Overwrite it with the window's values?\n\n"
    "No: nothing is saved; the button “Telvio.ini” loads the file again.",
    "Telvio.ini wurde geändert, seit KFG sie geladen hat. Mit den Werten des Fensters "
    "überschreiben?\n\nNein: Es wird nichts gespeichert; die Schaltfläche „Telvio.ini“ lädt "
    "die Datei neu.",
    "Telvio.ini ha cambiado desde que KFG lo cargó. ¿Sobrescribirlo con los valores de la "
    "ventana?\n\nNo: no se guarda nada; el botón «Telvio.ini» vuelve a cargar el fichero."};

inline constexpr texts::Texts kYes{"Yes", "Ja", "Sí"};
inline constexpr texts::Texts kNo{"No", "Nein", "No"};

inline QString In(const texts::Texts& texts, texts::TextLanguage language) {
    return QString::fromUtf8(texts.In(language));
}

} // namespace kfg::dialogs
