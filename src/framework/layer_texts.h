#pragma once

#include "texts/text_language.h"

#include <QString>

namespace kfg::framework {

// The layer's own texts: the messages of the input checks and the names of the spin arrows.
struct LayerTexts {
    const char* integerExpected;
    const char* integerBetween; // %1 and %2 stand for the limits
    const char* spinUp;
    const char* spinDown;
};

// In German or Spanish; German stands in for any other language.
const LayerTexts& TextsFor(texts::TextLanguage language);

// The message of a failed range check, in `language`.
QString IntegerBetweenMessage(texts::TextLanguage language, int low, int high);

} // namespace kfg::framework
