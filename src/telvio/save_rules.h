#pragma once

#include "telvio/edition.h"

namespace kfg::telvio {

struct SettingsRecord;
struct ProcessState;
struct ViewerKey;

// What a save writes for a check-box key after showing the stored value in its box: 1 and 2
// check the box (2 is the third state), anything else clears it.
constexpr int CheckBoxState(int stored) {
    return stored == 1 || stored == 2 ? 1 : 0;
}

// The record as a save writes it once it was shown: every check-box key by CheckBoxState().
void NormaliseForSave(SettingsRecord& record);

// The first key `edition` writes whose value lies outside the range the dialog checks; null
// when every one fits. A save refuses such a record.
const ViewerKey* FirstOutOfRange(const SettingsRecord& record, const ProcessState& state,
                                 Edition edition);

} // namespace kfg::telvio
