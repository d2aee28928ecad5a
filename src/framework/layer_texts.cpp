#include "framework/layer_texts.h"

#include "platform/input_check_texts.h"

namespace kfg::framework {
namespace {

constexpr LayerTexts kGerman{
    platform::kIntegerExpected.german,
    platform::kIntegerBetween.german,
    "Höher",
    "Niedriger",
};

constexpr LayerTexts kSpanish{
    platform::kIntegerExpected.spanish,
    platform::kIntegerBetween.spanish,
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
