#include "settings/edition_detection.h"
#include "settings/profile_store.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::settings {
namespace {

using namespace std::string_literals;

struct Case {
    const char* name;
    std::string contents;
    Edition edition;
    int indexPrefixFlag;
};

EditionDetection Detect(const std::filesystem::path& folder) {
    ProfileStore store;
    return DetectEdition(folder, store);
}

TEST(EditionDetection, FirstMarkerWordAndTelvioKeysDecide) {
    const Case cases[] = {
        // Status= then [Telvio] Proportional, then Turbo.
        {"Proportional=1 beats Turbo", "[Telvio]\nStatus=0\nProportional=1\nTurbo=0\n",
         Edition::V320, 0},
        {"Proportional=2, no Turbo", "[Telvio]\nStatus=0\nProportional=2\n", Edition::V31, 0},
        {"Turbo=0", "[Telvio]\nStatus=0\nTurbo=0\n", Edition::V311, 0},
        {"Turbo=2", "[Telvio]\nStatus=0\nTurbo=2\n", Edition::V31, 0},
        // OptimierungBT= then [Telvio] Accel.
        {"no Accel", "[Telvio]\nOptimierungBT=1\n", Edition::V283, 1},
        {"Accel=5", "[Telvio]\nOptimierungBT=1\nAccel=5\n", Edition::V283Quik, 1},
        {"Accel=30", "[Telvio]\nOptimierungBT=1\nAccel=30\n", Edition::V283, 1},
        // Only the first marker word counts.
        {"Line-In= first", "[Telvio-Erazor]\nLine-In=0\nStatus=1\nOptimierungBT=1\n",
         Edition::Erazor, 0},
        {"markers tested in order within a word", "Status=1;Line-In=0", Edition::Erazor, 0},
        {"OptimierungBT= first within a word", "Line-In=0;OptimierungBT=1", Edition::V283, 1},
        // Containment, not equality; blanks around "=" hide the marker.
        {"PALStatus=1", "[Telvio]\nPALStatus=1\n", Edition::V31, 0},
        {"blanks around equals", "[Telvio]\nStatus = 1\n", Edition::V311, 0},
        // The keys are read from [Telvio] only, whatever section the marker stood in.
        {"keys outside [Telvio] are not read",
         "[Telvio-Erazor]\nStatus=1\nProportional=5\n[Telvio]\nTurbo=2\n", Edition::V31, 0},
        {"keys from [Telvio] after the marker's section",
         "[Telvio-Erazor]\nStatus=1\n[Telvio]\nProportional=5\n", Edition::V320, 0},
        // No marker keeps the initial values.
        {"empty file", "", Edition::V311, 0},
        // Read chunks and odd bytes do not hide a later marker.
        {"marker straddling a read chunk", std::string(65530, 'a') + " OptimierungBT=1",
         Edition::V283, 1},
        {"NUL bytes before the marker", "\0\0\x80 \0Status=1\0"s, Edition::V31, 0},
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
} // namespace kfg::settings
