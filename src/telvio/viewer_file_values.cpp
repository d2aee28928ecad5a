#include "telvio/viewer_file_values.h"

#include "settings/profile_store.h"
#include "telvio/viewer_key_table.h"
#include "telvio/viewer_keys.h"

#include <cstddef>
#include <string_view>

namespace kfg::telvio {
namespace {

// One key a save of "Telvio.ini" writes: a single key, or one memory slot of the slots' row.
struct WrittenKey {
    const ViewerKey* key;
    int slot = -1;
};

// In table order, so that two value lists of one edition line up.
std::vector<WrittenKey> WrittenKeys(Edition edition) {
    std::vector<WrittenKey> keys;
    for (const ViewerKey& key : kViewerKeys) {
        if (!Includes(key.writtenBy, edition)) {
            continue;
        }
        if (key.kind != KeyKind::MemorySlots) {
            keys.push_back({&key});
            continue;
        }
        for (int slot = 0; EditionWrites(key, edition, slot); ++slot) {
            keys.push_back({&key, slot});
        }
    }
    return keys;
}

int ValueOf(const WrittenKey& written, const SettingsRecord& record, const ProcessState& state) {
    return written.slot >= 0 ? record.Memory[static_cast<std::size_t>(written.slot)]
                             : KeyValue(*written.key, record, state);
}

} // namespace

ViewerFileValues ViewerFileValuesOf(Edition edition, bool fileFound, const SettingsRecord& record,
                                    const ProcessState& state) {
    ViewerFileValues result{edition, fileFound, {}};
    for (const WrittenKey& written : WrittenKeys(edition)) {
        result.values.push_back(ValueOf(written, record, state));
    }
    return result;
}

ViewerFileValues ReadViewerFileValues(settings::ProfileStore& store,
                                      const std::filesystem::path& file, Edition edition) {
    const std::string_view section = ViewerSectionFor(edition);
    ViewerFileValues result{edition, store.HasFile(file), {}};
    for (const WrittenKey& written : WrittenKeys(edition)) {
        const ViewerKey& key = *written.key;
        result.values.push_back(
            written.slot >= 0
                ? ReadViewerValue(store, file, section, MemorySlotKey(edition, written.slot),
                                  key.defaultText)
                : ReadViewerValue(store, file, section, key.name, key.defaultText));
    }
    return result;
}

bool SaveOverwritesChanges(const ViewerFileValues& baseline, const ViewerFileValues& now,
                           const SettingsRecord& record, const ProcessState& state) {
    if (baseline.fileFound && !now.fileFound) {
        return true; // deleted: everything the save writes replaces what another program did
    }
    const std::vector<WrittenKey> keys = WrittenKeys(now.edition);
    if (baseline.edition != now.edition || baseline.values.size() != keys.size() ||
        now.values.size() != keys.size()) {
        return true; // not comparable: asking is the safe side
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int written = ValueOf(keys[i], record, state);
        if (keys[i].slot >= 0 && written == 0) {
            continue; // not written: the file keeps whatever the slot holds there
        }
        if (now.values[i] != baseline.values[i] && now.values[i] != written) {
            return true;
        }
    }
    return false;
}

} // namespace kfg::telvio
