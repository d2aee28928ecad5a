// Whether a folder holds "Telvio.ini": one decision for every place that looks, with the two
// differences those places make on purpose.
#include "support/child_process.h"
#include "support/temp_dir.h"
#include "telvio/telvio_ini.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfg::telvio {
namespace {

namespace fs = std::filesystem;

TEST(TelvioIni, FoundAsARunFindsItWithTheLooksOwnRules) {
    if (!test::CanSwitchUsers()) {
        GTEST_SKIP() << "an unreadable file needs an ordinary user; root reads every file";
    }
    const test::UserIds kUser{4101, 4101, {}};
    enum class Entry { File, UpperCase, Folder, Unreadable, Link, DanglingLink, None };
    struct Case {
        const char* what;
        Entry entry;
        bool holds;        // as kfg, kfgctl and the chooser look
        bool holdsUnread;  // as kfg-shortcut looks: reading not needed
        bool holdsNoLinks; // as the search of the wine prefixes looks
    };
    const Case cases[] = {
        {.what = "the file",
         .entry = Entry::File,
         .holds = true,
         .holdsUnread = true,
         .holdsNoLinks = true},
        {.what = "in other letters",
         .entry = Entry::UpperCase,
         .holds = true,
         .holdsUnread = true,
         .holdsNoLinks = true},
        {.what = "a folder of that name",
         .entry = Entry::Folder,
         .holds = false,
         .holdsUnread = false,
         .holdsNoLinks = false},
        {.what = "a file the user may not read",
         .entry = Entry::Unreadable,
         .holds = false,
         .holdsUnread = true,
         .holdsNoLinks = false},
        {.what = "a link to the file",
         .entry = Entry::Link,
         .holds = true,
         .holdsUnread = true,
         .holdsNoLinks = false},
        {.what = "a link to nothing",
         .entry = Entry::DanglingLink,
         .holds = false,
         .holdsUnread = false,
         .holdsNoLinks = false},
        {.what = "nothing",
         .entry = Entry::None,
         .holds = false,
         .holdsUnread = false,
         .holdsNoLinks = false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        test::WriteBytes(dir / "elsewhere.ini", "[Telvio]\n");
        switch (c.entry) {
        case Entry::File:
        case Entry::Unreadable:
            test::WriteBytes(dir / "Telvio.ini", "[Telvio]\n");
            ::chmod((dir / "Telvio.ini").c_str(), c.entry == Entry::Unreadable ? 0200 : 0644);
            break;
        case Entry::UpperCase:
            test::WriteBytes(dir / "TELVIO.INI", "[Telvio]\n");
            break;
        case Entry::Folder:
            fs::create_directory(dir / "Telvio.ini");
            break;
        case Entry::Link:
            fs::create_symlink(dir / "elsewhere.ini", dir / "telvio.ini");
            break;
        case Entry::DanglingLink:
            fs::create_symlink(dir / "gone.ini", dir / "Telvio.ini");
            break;
        case Entry::None:
            break;
        }
        ::chmod(dir.path().c_str(), 0755);
        // As an ordinary user, with the folder listed as the prefix search lists it.
        const int seen = test::RunAsUser(kUser, [&] {
            bool inListing = false;
            for (const auto& entry : fs::directory_iterator(dir.path())) {
                const std::string name = entry.path().filename().string();
                const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
                inListing = inListing || IsTelvioIniEntry(fd, name.c_str(),
                                                          {.mustRead = true, .linkCounts = false});
                ::close(fd);
            }
            return (HoldsTelvioIni(dir.path()) ? 1 : 0) +
                   (HoldsTelvioIni(dir.path(), {.mustRead = false, .linkCounts = true}) ? 2 : 0) +
                   (inListing ? 4 : 0);
        });
        EXPECT_EQ(seen, (c.holds ? 1 : 0) + (c.holdsUnread ? 2 : 0) + (c.holdsNoLinks ? 4 : 0));
    }
}

} // namespace
} // namespace kfg::telvio
