// A folder descriptor handed to a DIR is closed exactly once, whether or not it became one.
#include "platform/descriptor_reads.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace kfg::platform {
namespace {

bool IsOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

TEST(OpenDirectory, OwnsTheDescriptorOnlyWhenItReadsAFolder) {
    test::TempDir dir;
    test::WriteBytes(dir / "file", "x");
    const struct {
        const char* name;
        bool folder;
    } cases[] = {{.name = ".", .folder = true}, {.name = "file", .folder = false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UniqueFd fd(::open((dir / c.name).c_str(), O_RDONLY | O_CLOEXEC));
        const int number = fd.get();
        ASSERT_GE(number, 0);
        auto read = OpenDirectory(std::move(fd));
        EXPECT_EQ(read != nullptr, c.folder);
        EXPECT_EQ(IsOpen(number), c.folder); // a file's descriptor is closed at once
        read.reset();
        EXPECT_FALSE(IsOpen(number)); // and a folder's with its DIR
    }
    EXPECT_EQ(OpenDirectory(UniqueFd()), nullptr);
}

} // namespace
} // namespace kfg::platform
