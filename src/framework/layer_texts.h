#pragma once

#include <QString>

namespace kfg::framework {

// The languages the dialog layer speaks in its own texts. A dialog speaks German until it is
// given another language.
enum class Language { German, Spanish };

// The layer's own texts: the messages of the input checks and the names of the spin arrows.
struct LayerTexts {
    const char* integerExpected;
    const char* integerBetween; // %1 and %2 stand for the limits
    const char* spinUp;
    const char* spinDown;
};

const LayerTexts& TextsFor(Language language);

// The message of a failed range check, in `language`.
QString IntegerBetweenMessage(Language language, int low, int high);

} // namespace kfg::framework
