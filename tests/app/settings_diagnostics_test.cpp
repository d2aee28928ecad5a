// Failed settings writes (and which of several spellings of a file was taken, and a clean-up
// another process's lock kept off) reach the "kfg.settings" logging category, and only when it
// is on.
#include "app/settings_diagnostics.h"
#include "support/temp_dir.h"

#include <QLoggingCategory>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
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
    EXPECT_TRUE(store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "2"));
    EXPECT_TRUE(gLogged.empty()); // off by default

    QLoggingCategory::setFilterRules(QStringLiteral("kfg.settings=true"));
    EXPECT_TRUE(store.WriteString(dir / "Telvio.ini", "Telvio", "Farbe", "3"));
    // Several spellings of one name: which was taken is told, and not as a failure.
    test::WriteBytes(dir / "kfg.ini", "");
    test::WriteBytes(dir / "KFG.INI", "");
    store.GetString(dir / "KFG.ini", "KFG", "Fr", "0", 2);
    store.GetString(dir / "KFG.ini", "KFG", "Audio", "0", 2); // told once, not at every read
    // Another process holds the folder's lock: the save goes on without the clean-up, and says
    // so.
    const int locker = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::flock(locker, LOCK_EX);
    settings::ProfileStore locked(
        SettingsDiagnosticsSink(),
        std::make_shared<platform::PosixFileSystem>([](platform::SaveStep step) {
            return step == platform::SaveStep::WaitForFolderLock
                       ? std::make_error_code(std::errc::timed_out) // no two seconds' wait
                       : std::error_code{};
        }));
    EXPECT_FALSE(locked.WriteString(dir / "Neu.ini", "KFG", "Fr", "1"));
    ::close(locker);
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);

    ASSERT_EQ(gLogged.size(), 3u);
    EXPECT_EQ(gLogged[0].category, "kfg.settings");
    EXPECT_NE(gLogged[0].text.find("Telvio.ini"), std::string::npos);
    EXPECT_NE(gLogged[0].text.find("read-only"), std::string::npos);
    EXPECT_EQ(gLogged[1].category, "kfg.settings");
    EXPECT_NE(gLogged[1].text.find("using KFG.INI"), std::string::npos);
    EXPECT_EQ(gLogged[1].text.find("failed"), std::string::npos);
    EXPECT_EQ(gLogged[2].category, "kfg.settings");
    EXPECT_NE(gLogged[2].text.find("without removing the leftovers"), std::string::npos);
    EXPECT_NE(gLogged[2].text.find("Neu.ini"), std::string::npos);
}

} // namespace
} // namespace kfg::app
