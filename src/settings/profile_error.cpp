#include "settings/profile_error.h"

#include "platform/failure_cause.h"

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
        case ProfileErrc::FolderLockHeld:
            return "another process holds the folder's lock; leftovers of killed saves stay";
        }
        return "unknown profile error";
    }
    std::error_condition default_error_condition(int value) const noexcept override {
        switch (static_cast<ProfileErrc>(value)) {
        case ProfileErrc::ReadOnly:
            return {static_cast<int>(platform::FailureCause::NoWritePermission),
                    platform::FailureCauseCategory()};
        case ProfileErrc::Unreadable:
            return {static_cast<int>(platform::FailureCause::FileNotReadable),
                    platform::FailureCauseCategory()};
        default:
            return error_category::default_error_condition(value);
        }
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

} // namespace kfg::settings
