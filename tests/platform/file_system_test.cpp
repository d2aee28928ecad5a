#include "platform/file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kfg::platform {
namespace {

TEST(FileSystem, ProbeReadAllAndSaveTellRegularFilesFromOtherThings) {
    test::TempDir dir;
    PosixFileSystem fs;
    test::WriteBytes(dir / "file", "abc");
    std::filesystem::create_directory(dir / "folder");

    const FileState file = fs.Probe(dir / "file");
    EXPECT_TRUE(file.exists && file.present);
    EXPECT_EQ(file.size, 3u);
    const FileState folder = fs.Probe(dir / "folder");
    EXPECT_TRUE(folder.exists && !folder.present);
    EXPECT_FALSE(fs.Probe("/dev/null").present);

    std::string contents = "stale";
    EXPECT_TRUE(fs.ReadAll(dir / "folder", contents));
    EXPECT_TRUE(fs.ReadAll(dir / "missing", contents));
    EXPECT_TRUE(contents.empty());

    SaveNotes notes;
    EXPECT_EQ(fs.Save(dir / "folder", "x", notes), std::errc::is_a_directory);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    const std::string big(3 << 20, 'z');
    ASSERT_FALSE(fs.Save(dir / "big", big, notes));
    EXPECT_EQ(test::ReadBytes(dir / "big"), big);
}

} // namespace
} // namespace kfg::platform
