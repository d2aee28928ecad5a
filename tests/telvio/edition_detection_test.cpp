#include "settings/profile_store.h"
#include "support/child_process.h"
#include "support/temp_dir.h"
#include "telvio/edition_detection.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::telvio {
namespace {

using namespace std::string_literals;

struct Case {
    const char* name;
    std::string contents;
    Edition edition;
    int indexPrefixFlag;
};

EditionDetection Detect(const std::filesystem::path& folder) {
    settings::ProfileStore store;
    return DetectEdition(folder, store);
}

TEST(EditionDetection, FirstMarkerWordAndTelvioKeysDecide) {
    const Case cases[] = {
        // Status= then [Telvio] Proportional, then Turbo.
        {.name = "Proportional=1 beats Turbo",
         .contents = "[Telvio]\nStatus=0\nProportional=1\nTurbo=0\n",
         .edition = Edition::V320,
         .indexPrefixFlag = 0},
        {.name = "Proportional=2, no Turbo",
         .contents = "[Telvio]\nStatus=0\nProportional=2\n",
         .edition = Edition::V31,
         .indexPrefixFlag = 0},
        {.name = "Turbo=0",
         .contents = "[Telvio]\nStatus=0\nTurbo=0\n",
         .edition = Edition::V311,
         .indexPrefixFlag = 0},
        {.name = "Turbo=2",
         .contents = "[Telvio]\nStatus=0\nTurbo=2\n",
         .edition = Edition::V31,
         .indexPrefixFlag = 0},
        // OptimierungBT= then [Telvio] Accel.
        {.name = "no Accel",
         .contents = "[Telvio]\nOptimierungBT=1\n",
         .edition = Edition::V283,
         .indexPrefixFlag = 1},
        {.name = "Accel=5",
         .contents = "[Telvio]\nOptimierungBT=1\nAccel=5\n",
         .edition = Edition::V283Quik,
         .indexPrefixFlag = 1},
        {.name = "Accel=30",
         .contents = "[Telvio]\nOptimierungBT=1\nAccel=30\n",
         .edition = Edition::V283,
         .indexPrefixFlag = 1},
        // Only the first marker word counts.
        {.name = "Line-In= first",
         .contents = "[Telvio-Erazor]\nLine-In=0\nStatus=1\nOptimierungBT=1\n",
         .edition = Edition::Erazor,
         .indexPrefixFlag = 0},
        {.name = "markers tested in order within a word",
         .contents = "Status=1;Line-In=0",
         .edition = Edition::Erazor,
         .indexPrefixFlag = 0},
        {.name = "OptimierungBT= first within a word",
         .contents = "Line-In=0;OptimierungBT=1",
         .edition = Edition::V283,
         .indexPrefixFlag = 1},
        // Containment, not equality; blanks around "=" hide the marker.
        {.name = "PALStatus=1",
         .contents = "[Telvio]\nPALStatus=1\n",
         .edition = Edition::V31,
         .indexPrefixFlag = 0},
        {.name = "blanks around equals",
         .contents = "[Telvio]\nStatus = 1\n",
         .edition = Edition::V311,
         .indexPrefixFlag = 0},
        // The keys are read from [Telvio] only, whatever section the marker stood in.
        {.name = "keys outside [Telvio] are not read",
         .contents = "[Telvio-Erazor]\nStatus=1\nProportional=5\n[Telvio]\nTurbo=2\n",
         .edition = Edition::V31,
         .indexPrefixFlag = 0},
        {.name = "keys from [Telvio] after the marker's section",
         .contents = "[Telvio-Erazor]\nStatus=1\n[Telvio]\nProportional=5\n",
         .edition = Edition::V320,
         .indexPrefixFlag = 0},
        // No marker keeps the initial values.
        {.name = "empty file", .contents = "", .edition = Edition::V311, .indexPrefixFlag = 0},
        // Read chunks and odd bytes do not hide a later marker.
        {.name = "marker straddling a read chunk",
         .contents = std::string(65530, 'a') + " OptimierungBT=1",
         .edition = Edition::V283,
         .indexPrefixFlag = 1},
        {.name = "NUL bytes before the marker",
         .contents = "\0\0\x80 \0Status=1\0"s,
         .edition = Edition::V31,
         .indexPrefixFlag = 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        test::TempDir dir;
        test::WriteBytes(dir / "Telvio.ini", test.contents);
        const EditionDetection result = Detect(dir.path());
        EXPECT_TRUE(result.fileFound);
        EXPECT_EQ(result.edition, test.edition);
        EXPECT_EQ(result.indexPrefixFlag, test.indexPrefixFlag);
        EXPECT_EQ(DetectEditionOfBytes(test.contents), test.edition); // a kept state's edition
    }
}

// A file that cannot be read counts as missing. Root reads any file, so as root the detection
// runs in a child with an ordinary user's ids.
TEST(EditionDetection, UnreadableFileIsNotFound) {
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    test::WriteBytes(dir / "Telvio.ini", "OptimierungBT=1\n");
    ASSERT_EQ(::chmod((dir / "Telvio.ini").c_str(), 0200), 0);
    const auto detect = [&] { return Detect(dir.path()).fileFound ? 1 : 0; };
    const int found = ::geteuid() != 0         ? detect()
                      : test::CanSwitchUsers() ? test::RunAsUser({4101, 4101, {}}, detect)
                                               : -1;
    if (found < 0) {
        GTEST_SKIP() << "root that cannot act as another user reads every file";
    }
    EXPECT_EQ(found, 0);
}

} // namespace
} // namespace kfg::telvio
