#include "platform/failure_cause.h"

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

const std::error_category& ExitStatusCategory() {
    static const ExitStatusCategoryImpl category;
    return category;
}

} // namespace kfg::platform
