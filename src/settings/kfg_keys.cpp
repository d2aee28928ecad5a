#include "settings/kfg_keys.h"

#include "settings/profile_store.h"

#include <limits>

namespace kfg::settings {

const KfgKeyInfo& Info(KfgKey key) {
    for (const KfgKeyInfo& info : kKfgKeys) {
        if (info.key == key) {
            return info;
        }
    }
    return kKfgKeys.front(); // unreachable: every key has a row
}

int ReadKfgNumber(ProfileStore& store, const std::filesystem::path& managerFile, KfgKey key,
                  KfgReader reader) {
    const KfgKeyInfo& info = Info(key);
    const std::size_t buffer =
        reader == KfgReader::StartUp ? info.startUpBuffer : info.sideDialogBuffer;
    return LeadingInteger(
        store.GetString(managerFile, kManagerSection, info.name, info.textDefault, buffer));
}

std::string DisplayModeKey(int row) {
    return std::to_string(row);
}

int LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) {
            value = kLimit;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

} // namespace kfg::settings
