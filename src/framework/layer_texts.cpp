#include "framework/layer_texts.h"

namespace kfg::framework {
namespace {

constexpr LayerTexts kGerman{
    "Bitte eine ganze Zahl eingeben.",
    "Bitte eine ganze Zahl zwischen %1 und %2 eingeben.",
    "Höher",
    "Niedriger",
};

constexpr LayerTexts kSpanish{
    "Introduzca un número entero.",
    "Introduzca un número entero entre %1 y %2.",
    "Subir",
    "Bajar",
};

} // namespace

const LayerTexts& TextsFor(platform::TextLanguage language) {
    return language == platform::TextLanguage::Spanish ? kSpanish : kGerman;
}

QString IntegerBetweenMessage(platform::TextLanguage language, int low, int high) {
    return QString::fromUtf8(TextsFor(language).integerBetween).arg(low).arg(high);
}

} // namespace kfg::framework
