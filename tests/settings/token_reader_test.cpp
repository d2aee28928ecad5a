#include "settings/token_reader.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace kfg::settings {
namespace {

using namespace std::string_literals;
using Words = std::vector<std::string>;

// Hands out `input` in pieces whose sizes cycle through `pieces` (never more than asked for),
// then fails with `failure` if one is given, else reports the end; asking again after that is
// a fault.
struct PieceSource {
    std::string input;
    std::vector<std::size_t> pieces;
    std::error_code failure;
    std::size_t offset = 0;
    std::size_t calls = 0;
    bool ended = false;

    std::size_t operator()(char* buffer, std::size_t capacity, std::error_code& error) {
        const std::size_t piece = pieces[calls++ % pieces.size()];
        if (ended) { // the scan is over, and a source may not be able to tell twice
            ADD_FAILURE() << "read again after the end";
            return 0;
        }
        const std::size_t count = std::min({piece, capacity, input.size() - offset});
        if (count == 0) {
            ended = true;
            error = failure;
            return 0;
        }
        std::memcpy(buffer, input.data() + offset, count);
        offset += count;
        return count;
    }
};

// Whole input at once, one byte at a time, and 1..3 bytes at a time: every word boundary
// lands on a piece boundary somewhere.
const std::vector<std::vector<std::size_t>> kPieceShapes = {{1u << 20}, {1}, {1, 2, 3}, {3, 1}};

struct SplitCase {
    const char* name;
    std::string input;
    Words expected;
    bool failsAtTheEnd = false; // the source fails with EIO instead of reporting the end
};

// Words, then the end or a read error; either way the scan stays over and the source is not
// asked again.
TEST(TokenReader, SplitsAtBlanksAndLineEndsOnlyUntilTheEndOrAnError) {
    const std::string megabyte(1 << 20, 'w');
    const SplitCase cases[] = {
        {.name = "empty", .input = "", .expected = {}},
        {.name = "one word", .input = "Status=1", .expected = {"Status=1"}},
        {.name = "every separator",
         .input = " a  b\tc\nd\ve\ff\rg ",
         .expected = {"a", "b", "c", "d", "e", "f", "g"}},
        {.name = "NUL is part of a word",
         .input = "a\0b \0 c\0"s,
         .expected = {"a\0b"s, "\0"s, "c\0"s}},
        {.name = "high bytes are part of a word",
         .input = "\x80\xff \xe4\xf6\xfc=1",
         .expected = {"\x80\xff", "\xe4\xf6\xfc=1"}},
        {.name = "a megabyte word whole",
         .input = "  " + megabyte + "\nLine-In=0",
         .expected = {megabyte, "Line-In=0"}},
        {.name = "error at the first read", .input = "", .expected = {}, .failsAtTheEnd = true},
        {.name = "error after a separator",
         .input = "one two ",
         .expected = {"one", "two"},
         .failsAtTheEnd = true},
        {.name = "error inside a word, which is dropped",
         .input = "one two thr",
         .expected = {"one", "two"},
         .failsAtTheEnd = true},
    };
    const std::error_code eio(EIO, std::system_category());
    for (const SplitCase& test : cases) {
        for (const auto& shape : kPieceShapes) {
            SCOPED_TRACE(std::string(test.name) + ", first piece " + std::to_string(shape[0]));
            PieceSource source{.input = test.input,
                               .pieces = shape,
                               .failure = test.failsAtTheEnd ? eio : std::error_code{}};
            TokenReader reader(std::ref(source));
            Words words;
            while (auto word = reader.Next()) {
                words.push_back(std::move(*word));
            }
            EXPECT_EQ(words, test.expected);
            EXPECT_EQ(reader.Failed(), test.failsAtTheEnd);
            EXPECT_EQ(reader.Error(), test.failsAtTheEnd ? eio : std::error_code{});
            EXPECT_EQ(reader.Next(), std::nullopt);
        }
    }
}

TEST(FileTokenReader, OpensOnlyRegularFiles) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "folder.ini");
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0600), 0);

    // A FIFO must neither block the open nor count as a file.
    for (const char* name : {"missing.ini", "folder.ini", "fifo.ini"}) {
        SCOPED_TRACE(name);
        std::error_code error;
        FileTokenReader reader(dir / name, error);
        EXPECT_FALSE(reader.IsOpen());
        EXPECT_EQ(error, std::errc::no_such_file_or_directory);
        EXPECT_EQ(reader.Next(), std::nullopt);
        EXPECT_FALSE(reader.Failed());
    }
}

TEST(FileTokenReader, ReadErrorOnARegularFileEndsTheScan) {
    // The kernel lists this as a regular file, but reading at offset 0 fails with EIO.
    struct stat status {};
    if (::stat("/proc/self/mem", &status) != 0 || !S_ISREG(status.st_mode)) {
        GTEST_SKIP() << "no /proc";
    }
    std::error_code error;
    FileTokenReader reader("/proc/self/mem", error);
    ASSERT_TRUE(reader.IsOpen()) << error.message();
    EXPECT_EQ(reader.Next(), std::nullopt);
    EXPECT_TRUE(reader.Failed());
}

} // namespace
} // namespace kfg::settings
