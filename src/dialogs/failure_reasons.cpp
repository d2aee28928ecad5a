#include "dialogs/failure_reasons.h"

#include "framework/message_box.h"
#include "platform/program_command.h"
#include "settings/profile_store.h"
#include "texts/failure_reasons.h"

#include <QStringList>

namespace kfg::dialogs {
namespace {

QString ErrorCaption(texts::TextLanguage language) {
    return language == texts::TextLanguage::Spanish ? QStringLiteral("Error")
                                                    : QStringLiteral("Fehler");
}

} // namespace

void ShowStartFailure(framework::Dialog* owner, const std::filesystem::path& workingDirectory,
                      const std::string& name, const std::error_code& error,
                      texts::TextLanguage language) {
    const std::string program = platform::FindProgramFile(workingDirectory, name).name;
    framework::MessageBox(
        owner, QString::fromStdString(texts::StartFailureMessage(program, error, language)),
        ErrorCaption(language), framework::MessageIcon::Warning);
}

void ShowSaveFailures(framework::Dialog* owner,
                      const std::vector<settings::ProfileFailure>& failures,
                      texts::TextLanguage language) {
    if (failures.empty()) {
        return;
    }
    QStringList lines;
    for (const settings::ProfileFailure& failure : failures) {
        lines << QString::fromStdString(
            texts::SaveFailureMessage(failure.file.filename().string(), failure.error, language));
    }
    framework::MessageBox(owner, lines.join(QLatin1Char('\n')), ErrorCaption(language),
                          framework::MessageIcon::Warning);
}

} // namespace kfg::dialogs
