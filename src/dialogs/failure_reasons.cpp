#include "dialogs/failure_reasons.h"

#include "framework/message_box.h"
#include "platform/failure_reasons.h"
#include "platform/program_command.h"
#include "settings/profile_store.h"

#include <QStringList>

namespace kfg::dialogs {
namespace {

QString ErrorCaption(platform::TextLanguage language) {
    return language == platform::TextLanguage::Spanish ? QStringLiteral("Error")
                                                       : QStringLiteral("Fehler");
}

} // namespace

void ShowStartFailure(framework::Dialog* owner, const std::filesystem::path& workingDirectory,
                      const std::string& name, const std::error_code& error,
                      platform::TextLanguage language) {
    const std::string program = platform::FindProgramFile(workingDirectory, name).name;
    framework::MessageBox(
        owner, QString::fromStdString(platform::StartFailureMessage(program, error, language)),
        ErrorCaption(language), framework::MessageIcon::Warning);
}

void ShowSaveFailures(framework::Dialog* owner,
                      const std::vector<settings::ProfileFailure>& failures,
                      platform::TextLanguage language) {
    if (failures.empty()) {
        return;
    }
    QStringList lines;
    for (const settings::ProfileFailure& failure : failures) {
        lines << QString::fromStdString(platform::SaveFailureMessage(
            failure.file.filename().string(), failure.error, language));
    }
    framework::MessageBox(owner, lines.join(QLatin1Char('\n')), ErrorCaption(language),
                          framework::MessageIcon::Warning);
}

} // namespace kfg::dialogs
