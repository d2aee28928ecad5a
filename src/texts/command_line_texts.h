#pragma once

#include "texts/text_language.h"

namespace kfg::texts {

// What kfg, kfgctl and kfg-shortcut say alike on standard error, after their own "program: ".
// Written once so that the three say the same.

// A folder named on the command line; %1 stands for the folder.
inline constexpr Texts kFolderMissing{
    "the folder %1 does not exist",
    "der Ordner %1 existiert nicht",
    "la carpeta %1 no existe",
};
inline constexpr Texts kNotAFolder{
    "%1 is not a folder",
    "%1 ist kein Ordner",
    "%1 no es una carpeta",
};
inline constexpr Texts kFolderNotEntered{
    "the folder %1 cannot be entered",
    "in den Ordner %1 kann nicht gewechselt werden",
    "no se puede entrar en la carpeta %1",
};
// For a program that needs the file there (kfgctl, kfg-shortcut).
inline constexpr Texts kTelvioIniMissing{
    "Telvio.ini does not exist in %1",
    "Telvio.ini nicht vorhanden in %1",
    "Telvio.ini no existe en %1",
};

// An option the program does not know; %1 as typed.
inline constexpr Texts kUnknownOption{
    "%1: unknown option",
    "%1: unbekannte Option",
    "%1: opción desconocida",
};
// A value joined to an option that takes none ("--version=2"); %1 the option as typed.
inline constexpr Texts kTakesNoValue{
    "%1 takes no value",
    "%1 nimmt keinen Wert",
    "%1 no admite ningún valor",
};

// Standard output that could not be written (a full disk, a closed descriptor); %1 is why.
inline constexpr Texts kOutputUnwritable{
    "cannot write the output: %1",
    "die Ausgabe kann nicht geschrieben werden: %1",
    "no se puede escribir la salida: %1",
};

} // namespace kfg::texts
