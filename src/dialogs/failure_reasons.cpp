#include "dialogs/failure_reasons.h"

#include "framework/message_box.h"
#include "platform/failure_reasons.h"
#include "platform/program_command.h"
#include "settings/profile_store.h"

#include <QStringList>

namespace kfg::dialogs {
namespace {

QString ErrorCaption(bool spanish) {
    return spanish ? QStringLiteral("Error") : QStringLiteral("Fehler");
}

platform::TextLanguage Language(bool spanish) {
    return spanish ? platform::TextLanguage::Spanish : platform::TextLanguage::German;
}

} // namespace

void ShowStartFailure(framework::Dialog* owner, const std::filesystem::path& workingDirectory,
                      const std::string& name, const std::error_code& error, bool spanish) {
    const std::string program = platform::FindProgramFile(workingDirectory, name).name;
    framework::MessageBox(
        owner,
        QString::fromStdString(platform::StartFailureMessage(program, error, Language(spanish))),
        ErrorCaption(spanish), framework::MessageIcon::Warning);
}

void ShowSaveFailures(framework::Dialog* owner,
                      const std::vector<settings::ProfileFailure>& failures, bool spanish) {
    if (failures.empty()) {
        return;
    }
    QStringList lines;
    for (const settings::ProfileFailure& failure : failures) {
        lines << QString::fromStdString(platform::SaveFailureMessage(
            failure.file.filename().string(), failure.error, Language(spanish)));
    }
    framework::MessageBox(owner, lines.join(QLatin1Char('\n')), ErrorCaption(spanish),
                          framework::MessageIcon::Warning);
}

} // namespace kfg::dialogs
