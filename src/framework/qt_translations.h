#pragma once

#include "texts/text_language.h"

#include <QTranslator>
#include <memory>
#include <optional>

namespace kfg::framework {

// Qt's own words (the fields' edit menus: "Rückgängig", "Kopieren"; the file dialog) in the
// language of a window, from Qt's translations (Debian's qt6-translations-l10n); English where
// none is installed. Installed into the application while the object lives.
class QtTranslations {
public:
    QtTranslations() = default;
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Switches to `language`; English takes Qt's own texts.
    void Use(texts::TextLanguage language);

private:
    std::unique_ptr<QTranslator> translator_;
    std::optional<texts::TextLanguage> used_;
};

} // namespace kfg::framework
