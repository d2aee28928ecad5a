#include "telvio/save_rules.h"

#include "telvio/viewer_key_table.h"
#include "telvio/viewer_keys.h"

namespace kfg::telvio {

void NormaliseForSave(SettingsRecord& record) {
    for (const ViewerKey& key : kViewerKeys) {
        if (key.values.kind == ValueKind::CheckBox && key.inRecord != nullptr) {
            record.*(key.inRecord) = CheckBoxState(record.*(key.inRecord));
        }
    }
}

const ViewerKey* FirstOutOfRange(const SettingsRecord& record, const ProcessState& state,
                                 Edition edition) {
    for (const ViewerKey& key : kViewerKeys) {
        const bool checked =
            key.values.kind == ValueKind::Ranged || key.values.kind == ValueKind::CheckBox;
        if (key.kind == KeyKind::Single && checked && EditionWrites(key, edition) &&
            !key_table::InRange(key.values, KeyValue(key, record, state))) {
            return &key;
        }
    }
    return nullptr;
}

} // namespace kfg::telvio
