#include "platform/standard_output.h"

#include "platform/descriptor_reads.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace kfg::platform {

bool FillClosedStandardStreams() {
    bool outputClosed = false;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        outputClosed = outputClosed || fd == STDOUT_FILENO;
        // open() takes the lowest free number, which is this one: the lower ones are open.
        const int filled = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (filled != fd && filled >= 0) {
            ::close(filled); // cannot happen while the lower ones are open; never keep it twice
        }
    }
    return outputClosed;
}

DescriptorOutput::DescriptorOutput(int fd)
    : fd_(fd) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool DescriptorOutput::Drain() {
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (!error_ && !pending.empty()) {
        error_ = WriteAll(fd_, pending);
    }
    return !error_;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize DescriptorOutput::xsputn(const char* text, std::streamsize count) {
    const std::streamsize room = epptr() - pptr();
    if (count <= room) {
        traits_type::copy(pptr(), text, static_cast<std::size_t>(count));
        pbump(static_cast<int>(count));
        return count;
    }
    if (!Drain()) {
        return 0;
    }
    error_ = WriteAll(fd_, std::string_view(text, static_cast<std::size_t>(count)));
    return error_ ? 0 : count;
}

int DescriptorOutput::sync() {
    return Drain() ? 0 : -1;
}

} // namespace kfg::platform
