#include "framework/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace kfg::framework {

QtTranslations::~QtTranslations() {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
    }
}

void QtTranslations::Use(texts::TextLanguage language) {
    // Each switch makes every widget translate itself again.
    if (used_ == language) {
        return;
    }
    used_ = language;
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    const char* name = language == texts::TextLanguage::German    ? "qtbase_de"
                       : language == texts::TextLanguage::Spanish ? "qtbase_es"
                                                                  : nullptr;
    if (name == nullptr) {
        return;
    }
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QString::fromLatin1(name),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        translator_ = std::move(translator);
        QCoreApplication::installTranslator(translator_.get());
    }
}

} // namespace kfg::framework
