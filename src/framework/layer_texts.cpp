#include "framework/layer_texts.h"

#include "texts/input_check_texts.h"

namespace kfg::framework {
namespace {

constexpr LayerTexts kGerman{
    texts::kIntegerExpected.german,
    texts::kIntegerBetween.german,
    "Höher",
    "Niedriger",
};

constexpr LayerTexts kSpanish{
    texts::kIntegerExpected.spanish,
    texts::kIntegerBetween.spanish,
    "Subir",
    "Bajar",
};

} // namespace

const LayerTexts& TextsFor(texts::TextLanguage language) {
    return language == texts::TextLanguage::Spanish ? kSpanish : kGerman;
}

QString IntegerBetweenMessage(texts::TextLanguage language, int low, int high) {
    return QString::fromUtf8(TextsFor(language).integerBetween).arg(low).arg(high);
}

} // namespace kfg::framework
