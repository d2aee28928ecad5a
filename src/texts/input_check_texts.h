#pragma once

#include "texts/text_language.h"

namespace kfg::texts {

// The sentences of the number checks: the dialog shows them in a message box, kfgctl after
// "KEY=VALUE: ". Written once so that both say the same.
inline constexpr Texts kIntegerExpected{
    "Please enter an integer.",
    "Bitte eine ganze Zahl eingeben.",
    "Introduzca un número entero.",
};

// %1 and %2 stand for the limits.
inline constexpr Texts kIntegerBetween{
    "Please enter an integer between %1 and %2.",
    "Bitte eine ganze Zahl zwischen %1 und %2 eingeben.",
    "Introduzca un número entero entre %1 y %2.",
};

} // namespace kfg::texts
