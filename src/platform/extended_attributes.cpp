#include "platform/extended_attributes.h"

#include "platform/last_error.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <sys/xattr.h>
#include <vector>

namespace kfg::platform {
namespace {

// A list of NUL-terminated attribute names, or a value, fetched with the size-then-data
// protocol of the xattr calls; `read` is called with (buffer, size).
template <typename Read>
std::error_code ReadAttributeBuffer(Read read, std::vector<char>& buffer) {
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) {
            return LastError();
        }
        buffer.resize(static_cast<std::size_t>(size));
        const ssize_t got = read(buffer.data(), buffer.size());
        if (got >= 0) {
            buffer.resize(static_cast<std::size_t>(got));
            return {};
        }
        if (errno != ERANGE) { // ERANGE: it grew in between; ask again
            return LastError();
        }
    }
}

std::vector<std::string> SplitNames(const std::vector<char>& list) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < list.size();) {
        std::string name(list.data() + at);
        at += name.size() + 1;
        names.push_back(std::move(name));
    }
    return names;
}

} // namespace

std::error_code CopyExtendedAttributes(const std::filesystem::path& from, int to) {
    std::vector<char> list;
    std::error_code error = ReadAttributeBuffer(
        [&](char* buffer, std::size_t size) { return ::llistxattr(from.c_str(), buffer, size); },
        list);
    if (error == std::errc::operation_not_supported) {
        list.clear(); // a file system without attributes: nothing to keep
    } else if (error) {
        return error;
    }
    const std::vector<std::string> wanted = SplitNames(list);

    std::vector<char> ownList;
    if (!ReadAttributeBuffer(
            [&](char* buffer, std::size_t size) { return ::flistxattr(to, buffer, size); },
            ownList)) {
        for (const std::string& name : SplitNames(ownList)) {
            if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() &&
                ::fremovexattr(to, name.c_str()) != 0) {
                return LastError();
            }
        }
    }

    std::vector<char> value;
    for (const std::string& name : wanted) {
        error = ReadAttributeBuffer(
            [&](char* buffer, std::size_t size) {
                return ::lgetxattr(from.c_str(), name.c_str(), buffer, size);
            },
            value);
        if (error == std::errc::no_message_available) {
            continue; // removed meanwhile
        }
        if (error) {
            return error;
        }
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) {
            return LastError();
        }
    }
    return {};
}

} // namespace kfg::platform
