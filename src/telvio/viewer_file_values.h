#pragma once

#include "telvio/edition.h"

#include <filesystem>
#include <vector>

namespace kfg::settings {
class ProfileStore;
}

namespace kfg::telvio {

struct ProcessState;
struct SettingsRecord;

// What "Telvio.ini" holds of the keys a save for `edition` writes there, each as loading reads
// it. The main window keeps the values it last loaded or saved, so that Start tells a value
// another program changed meanwhile from what the save keeps anyway (keys KFG does not write,
// comments, layout): values are compared, not times or bytes.
struct ViewerFileValues {
    Edition edition = kUndetectedEdition;
    bool fileFound = false;
    std::vector<int> values; // one per key the edition writes, each written memory slot too

    bool operator==(const ViewerFileValues&) const = default;
};

// The values a load has just put into `record` and `state` from a file that was there or not:
// no second read of the file.
ViewerFileValues ViewerFileValuesOf(Edition edition, bool fileFound, const SettingsRecord& record,
                                    const ProcessState& state);

// What `file` holds now in `edition`'s section.
ViewerFileValues ReadViewerFileValues(settings::ProfileStore& store,
                                      const std::filesystem::path& file, Edition edition);

// Whether saving `record` and `state` over a file holding `now` overwrites a change made since
// `baseline`: the file is gone, or a key the save writes holds on disk neither its baseline
// value nor the value the save writes. A memory slot holding 0 writes nothing into
// "Telvio.ini", so its key never counts. Values of different editions always count as changed.
bool SaveOverwritesChanges(const ViewerFileValues& baseline, const ViewerFileValues& now,
                           const SettingsRecord& record, const ProcessState& state);

} // namespace kfg::telvio
