#include "platform/failure_cause.h"

#include <array>
#include <cerrno>
#include <string>
#include <sys/wait.h>

namespace kfg::platform {
namespace {

class FailureCauseCategoryImpl final : public std::error_category {
public:
    const char* name() const noexcept override { return "kfg failure cause"; }
    std::string message(int value) const override {
        switch (static_cast<FailureCause>(value)) {
        case FailureCause::FileMissing:
            return "file missing";
        case FailureCause::FileNotReadable:
            return "file not readable";
        case FailureCause::WineMissing:
            return "Windows program, no wine on the search path";
        case FailureCause::NotExecutable:
            return "file not executable";
        case FailureCause::DiskFull:
            return "disk full";
        case FailureCause::NoWritePermission:
            return "no write permission";
        }
        return "unknown cause " + std::to_string(value);
    }
};

class ExitStatusCategoryImpl final : public std::error_category {
public:
    const char* name() const noexcept override { return "exit status"; }
    std::string message(int status) const override {
        if (WIFEXITED(status)) {
            return "ended with exit status " + std::to_string(WEXITSTATUS(status));
        }
        if (WIFSIGNALED(status)) {
            return "ended by signal " + std::to_string(WTERMSIG(status));
        }
        return "ended with wait status " + std::to_string(status);
    }
};

} // namespace

const std::error_category& FailureCauseCategory() {
    static const FailureCauseCategoryImpl category;
    return category;
}

std::error_code make_error_code(FailureCause cause) {
    return {static_cast<int>(cause), FailureCauseCategory()};
}

std::error_code SortWriteFailure(std::error_code error) {
    if (error.category() == FailureCauseCategory()) {
        return error;
    }
    struct Row {
        int systemError;
        FailureCause cause;
    };
    static constexpr std::array<Row, 6> kRows{{
        {ENOSPC, FailureCause::DiskFull},
        {EDQUOT, FailureCause::DiskFull},
        {EFBIG, FailureCause::DiskFull},
        {EACCES, FailureCause::NoWritePermission},
        {EPERM, FailureCause::NoWritePermission},
        {EROFS, FailureCause::NoWritePermission},
    }};
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == FailureCauseCategory()) {
        return {condition.value(), FailureCauseCategory()};
    }
    if (condition.category() == std::generic_category()) {
        for (const Row& row : kRows) {
            if (condition.value() == row.systemError) {
                return make_error_code(row.cause);
            }
        }
    }
    return error;
}

const std::error_category& ExitStatusCategory() {
    static const ExitStatusCategoryImpl category;
    return category;
}

} // namespace kfg::platform
