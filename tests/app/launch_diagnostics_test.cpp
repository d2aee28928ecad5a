// Failed starts (and which of several spellings of a program was taken) reach the "kfg.launch"
// logging category, and only when it is on.
#include "app/launch_diagnostics.h"
#include "support/temp_dir.h"

#include <QLoggingCategory>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::app {
namespace {

std::vector<std::string> gLogged;

void Capture(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (context.category != nullptr && std::string(context.category) == "kfg.launch") {
        gLogged.push_back(text.toStdString());
    }
}

TEST(LaunchDiagnostics, FailedStartIsLoggedOnlyWhenAskedFor) {
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.exe", "MZ windows program");
    test::WriteBytes(dir / "SONORA.EXE", "MZ windows program");
    test::WriteBytes(dir / "Sonora.EXE", "MZ windows program");
    const QtMessageHandler previous = qInstallMessageHandler(Capture);
    platform::SystemProgramStarter starter("/nonexistent", LaunchDiagnosticsSink());

    gLogged.clear();
    EXPECT_TRUE(starter.HandOver(dir.path(), "Telvio.exe", {"Quick"})); // no wine: fails
    EXPECT_TRUE(gLogged.empty());                                       // off by default

    QLoggingCategory::setFilterRules(QStringLiteral("kfg.launch=true"));
    EXPECT_TRUE(starter.HandOver(dir.path(), "Telvio.exe", {"Quick"}));
    EXPECT_TRUE(starter.RunSoundInitialisation(dir.path()));
    // Which spelling was taken is told too.
    EXPECT_TRUE(starter.Start(dir.path(), "Sonora.exe", {}));
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);

    EXPECT_EQ(gLogged, (std::vector<std::string>{
                           "hand-over of Telvio.exe (wine ./Telvio.exe Quick) failed: Windows "
                           "program, no wine on the search path",
                           "sound initialisation of rundll32.exe (wine rundll32.exe "
                           "bt848dlg.dll,initialize) failed: Windows program, no wine on the "
                           "search path",
                           "look up of Sonora.exe found several files (SONORA.EXE, Sonora.EXE), "
                           "using SONORA.EXE",
                           "start of Sonora.exe (wine ./SONORA.EXE) failed: Windows program, no "
                           "wine on the search path"}));
}

} // namespace
} // namespace kfg::app
