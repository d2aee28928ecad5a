#pragma once

#include <array>
#include <streambuf>
#include <system_error>

namespace kfg::platform {

// Gives each of the descriptors 0, 1 and 2 that is closed /dev/null, so that no file the
// program opens later takes its number and receives what was meant for the terminal. Returns
// whether standard output was closed: what the program prints then reaches nobody.
bool FillClosedStandardStreams();

// Writes what a std::ostream puts into it to a descriptor, and keeps the first failure: a
// command-line program checks it once its output is flushed, so output that never arrived (a
// full disk, a closed pipe) is not reported as success. After a failure nothing more is
// written.
class DescriptorOutput final : public std::streambuf {
public:
    // `fd` -1: a descriptor that was closed; the first byte written fails, as it would there.
    explicit DescriptorOutput(int fd);
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    // The first failure of a write; check it after flushing the stream.
    std::error_code Error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool Drain();

    int fd_;
    std::error_code error_;
    std::array<char, 4096> buffer_{};
};

} // namespace kfg::platform
