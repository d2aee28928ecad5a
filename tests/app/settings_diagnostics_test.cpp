// Failed settings writes (and which of several spellings of a file was taken) reach the
// "kfg.settings" logging category, and only when it is on.
#include "app/settings_diagnostics.h"
#include "support/temp_dir.h"

#include <QLoggingCategory>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kfg::app {
namespace {

struct Logged {
    std::string category;
    std::string text;
};
std::vector<Logged> gLogged;

void Capture(QtMsgType, const QMessageLogContext& context, const QString& text) {
    gLogged.push_back({context.category ? context.category : "", text.toStdString()});
}

TEST(SettingsDiagnostics, FailedWriteIsLoggedOnlyWhenAskedFor) {
    test::TempDir dir;
    test::WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nFarbe=1\r\n");
    ::chmod((dir / "Telvio.ini").c_str(), 0444);
    const QtMessageHandler previous = qInstallMessageHandler(Capture);
    settings::ProfileStore store(SettingsDiagnosticsSink());

    gLogged.clear();
    store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "2");
    EXPECT_TRUE(gLogged.empty()); // off by default: the user is never bothered

    QLoggingCategory::setFilterRules(QStringLiteral("kfg.settings=true"));
    store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "3");
    // Several spellings of one name: which was taken is told, and not as a failure.
    test::WriteBytes(dir / "kfg.ini", "");
    test::WriteBytes(dir / "KFG.INI", "");
    store.GetString(dir / "KFG.ini", "KFG", "Fr", "0", 2);
    store.GetString(dir / "KFG.ini", "KFG", "Audio", "0", 2); // told once, not at every read
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);

    ASSERT_EQ(gLogged.size(), 2u);
    EXPECT_EQ(gLogged[0].category, "kfg.settings");
    EXPECT_NE(gLogged[0].text.find("Telvio.ini"), std::string::npos);
    EXPECT_NE(gLogged[0].text.find("read-only"), std::string::npos);
    EXPECT_EQ(gLogged[1].category, "kfg.settings");
    EXPECT_NE(gLogged[1].text.find("using KFG.INI"), std::string::npos);
    EXPECT_EQ(gLogged[1].text.find("failed"), std::string::npos);
}

} // namespace
} // namespace kfg::app
