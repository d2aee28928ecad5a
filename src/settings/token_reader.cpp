#include "settings/token_reader.h"

#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kfg::settings {

namespace {

// Large enough that a settings file is one or two reads, small enough to sit on the stack of
// no one: the chunk lives in the reader.
constexpr std::size_t kChunkSize = 64 * 1024;

} // namespace

TokenReader::TokenReader(ByteSource source)
    : source_(std::move(source)) {}

bool TokenReader::Fill() {
    chunk_.clear();
    position_ = 0;
    if (finished_) {
        return false;
    }
    chunk_.resize(kChunkSize);
    std::error_code error;
    const std::size_t count = source_(chunk_.data(), chunk_.size(), error);
    if (error) {
        error_ = error;
    }
    if (error || count == 0) {
        // Neither an error nor the end is asked about twice: the scan is over.
        finished_ = true;
        chunk_.clear();
        return false;
    }
    chunk_.resize(std::min(count, kChunkSize));
    return true;
}

std::optional<std::string> TokenReader::Next() {
    // Skip separators, refilling as often as a run of them crosses chunks.
    for (;;) {
        const auto begin = chunk_.begin() + static_cast<std::ptrdiff_t>(position_);
        const auto start = std::find_if_not(begin, chunk_.end(), IsWordSeparator);
        position_ = static_cast<std::size_t>(start - chunk_.begin());
        if (start != chunk_.end()) {
            break;
        }
        if (!Fill()) {
            return std::nullopt;
        }
    }

    std::string word;
    for (;;) {
        const auto begin = chunk_.begin() + static_cast<std::ptrdiff_t>(position_);
        const auto end = std::find_if(begin, chunk_.end(), IsWordSeparator);
        word.append(begin, end);
        position_ = static_cast<std::size_t>(end - chunk_.begin());
        if (end != chunk_.end()) {
            return word;
        }
        if (!Fill()) {
            // The end of the input ends the word; a read error leaves it incomplete, and an
            // incomplete word is never handed out.
            if (Failed()) {
                return std::nullopt;
            }
            return word;
        }
    }
}

FileTokenReader::FileTokenReader(const std::filesystem::path& file, std::error_code& error)
    : fd_(platform::OpenRegularFile(file, error))
    // The descriptor number, not `this`, is captured, so a moved reader keeps working.
    , reader_([fd = fd_.get()](char* buffer, std::size_t capacity,
                               std::error_code& readError) -> std::size_t {
        if (fd < 0) {
            return 0;
        }
        for (;;) {
            const ssize_t count = ::read(fd, buffer, capacity);
            if (count >= 0) {
                return static_cast<std::size_t>(count);
            }
            if (errno != EINTR) {
                readError.assign(errno, std::system_category());
                return 0;
            }
        }
    }) {}

} // namespace kfg::settings
