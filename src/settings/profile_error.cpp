#include "settings/profile_error.h"

#include <cerrno>
#include <string>

namespace kfg::settings {
namespace {

class ProfileErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "kfg.profile"; }
    std::string message(int value) const override {
        switch (static_cast<ProfileErrc>(value)) {
        case ProfileErrc::NameHasLineBreak:
            return "a name or value contains a line break";
        case ProfileErrc::KeyHasEquals:
            return "a key contains \"=\"";
        case ProfileErrc::KeyLooksLikeHeader:
            return "a key begins with \"[\" or \";\"";
        case ProfileErrc::SectionHasBracket:
            return "a section name contains \"]\"";
        case ProfileErrc::NotRegularFile:
            return "the path is not a regular file";
        case ProfileErrc::Unreadable:
            return "the file cannot be read, so it is not edited";
        case ProfileErrc::ReadOnly:
            return "the file is read-only";
        case ProfileErrc::Utf16File:
            return "the file is UTF-16 and is not edited";
        case ProfileErrc::SeveralNamesMatch:
            return "several files match the name ignoring letter case; the first in byte order "
                   "is used";
        }
        return "unknown profile error";
    }
};

} // namespace

const std::error_category& ProfileCategory() {
    static const ProfileErrorCategory category;
    return category;
}

std::error_code make_error_code(ProfileErrc errc) {
    return {static_cast<int>(errc), ProfileCategory()};
}

FailureCause FailureCauseOf(std::error_code error) {
    struct Row {
        std::error_code error;
        FailureCause cause;
    };
    static const Row kRows[] = {
        {std::make_error_code(std::errc::no_space_on_device), FailureCause::DiskFull},
        {{EDQUOT, std::generic_category()}, FailureCause::DiskFull},
        {std::make_error_code(std::errc::permission_denied), FailureCause::NoWritePermission},
        {std::make_error_code(std::errc::operation_not_permitted), FailureCause::NoWritePermission},
        {std::make_error_code(std::errc::read_only_file_system), FailureCause::NoWritePermission},
        {ProfileErrc::ReadOnly, FailureCause::NoWritePermission},
    };
    for (const Row& row : kRows) {
        if (error == row.error) {
            return row.cause;
        }
    }
    return FailureCause::Other;
}

} // namespace kfg::settings
