#include "settings/kfg_keys.h"

#include "settings/profile_store.h"

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

} // namespace kfg::settings
