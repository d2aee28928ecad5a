#pragma once

#include "telvio/edition.h"
#include "texts/text_language.h"

#include <string>

namespace kfg::telvio {

// The values that live for the whole run. The application owns the one instance and hands it
// down by reference; nothing reaches it any other way.
struct ProcessState {
    // Found once by edition detection; V311 until then and when nothing was found.
    telvio::Edition Edition = kUndetectedEdition;
    // How the index files are named; found by edition detection.
    IndexFilePrefix IndexPrefixFlag = kIndexPrefixTelvioUnderscore;
    // The captions' language in force, German or Spanish: the template's German until the first
    // load switches to the stored choice.
    texts::TextLanguage LanguageFlag = texts::TextLanguage::German;
    bool DialogInitialised = false; // set once the main dialog has finished initialising
    bool FirstLoadDone = false;     // set once the one-time start-up block has run
    // The section that loading and saving use: "Telvio", "Telvio-Erazor" or a configuration.
    std::string ActiveSection;

    // The program-wide part of the settings record: the choice indices behind the lists, and
    // values that are loaded and written back unchanged.
    int DisplayMode = 0;
    int Tuner = 0;
    int TVKarte = 0;
    int Interpolation = 0;
    int CaptureDevice = 0;
    int Links = 0;
    int Oben = 0;
    int Rechts = 0;
    int Unten = 0;
};

} // namespace kfg::telvio
