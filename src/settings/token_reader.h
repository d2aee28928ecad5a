#pragma once

#include "platform/unique_fd.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

namespace kfg::settings {

// The separators of fscanf's "%s" in the C locale; every other byte, NUL and bytes from 0x80
// included, belongs to a word.
constexpr bool IsWordSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a text file word by word, as the plain-text scans of the settings files need: a word
// is a run of bytes other than blanks and line ends (space, \t, \n, \v, \f, \r).
//
// Words are returned whole, however long: nothing is cut, so a marker standing after a long
// value can never be split in two, and no fixed buffer exists to overflow. A read error ends
// the scan like the end of the file does; Failed() tells them apart.
class TokenReader {
public:
    // Fills up to `capacity` bytes at `buffer`; returns the count, 0 at the end, or sets
    // `error` on a read error.
    using ByteSource =
        std::function<std::size_t(char* buffer, std::size_t capacity, std::error_code& error)>;

    explicit TokenReader(ByteSource source);

    // The next word, or nothing at the end of the input or after a read error. A word that a
    // read error cuts short is dropped, so every word handed out is whole.
    std::optional<std::string> Next();
    // True once a read error has ended the scan.
    bool Failed() const { return static_cast<bool>(error_); }
    [[nodiscard]] std::error_code Error() const { return error_; }

private:
    [[nodiscard]] bool Fill();

    ByteSource source_;
    std::string chunk_;
    std::size_t position_ = 0;
    bool finished_ = false;
    std::error_code error_;
};

// A TokenReader over a file. Only a regular file opens: a folder with the name counts as
// missing, as it does for the profile store.
class FileTokenReader {
public:
    // Opens the file; on failure the reader is not open and `error` says why.
    FileTokenReader(const std::filesystem::path& file, std::error_code& error);

    bool IsOpen() const { return fd_.valid(); }
    std::optional<std::string> Next() { return reader_.Next(); }
    bool Failed() const { return reader_.Failed(); }

private:
    platform::UniqueFd fd_;
    TokenReader reader_;
};

} // namespace kfg::settings
