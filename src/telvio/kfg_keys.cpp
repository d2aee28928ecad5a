#include "telvio/kfg_keys.h"

#include "settings/profile_store.h"

#include <utility>

namespace kfg::telvio {

int ReadKfgNumber(settings::ProfileStore& store, const std::filesystem::path& managerFile,
                  KfgKey key, KfgReader reader) {
    const KfgKeyInfo& info = Info(key);
    const std::size_t buffer =
        reader == KfgReader::StartUp ? info.startUpBuffer : info.sideDialogBuffer;
    return settings::LeadingInteger(
        store.GetString(managerFile, kManagerSection, info.name, info.textDefault, buffer));
}

void WriteSoundOptions(settings::ProfileStore& store, const std::filesystem::path& managerFile,
                       bool soundInit, bool lineIn) {
    auto gathered = store.Gather();
    for (const auto& [key, on] :
         {std::pair{KfgKey::SoundInit, soundInit}, std::pair{KfgKey::LineIn, lineIn}}) {
        // A failure reaches the store's sink and the caller's failure collector.
        (void)store.WriteString(managerFile, kManagerSection, Info(key).name, on ? "1" : "0");
    }
}

std::string DisplayModeKey(int row) {
    return std::to_string(row);
}

} // namespace kfg::telvio
