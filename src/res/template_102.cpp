#include "res/template_102.h"

#include "platform/no_repeats.h"
#include "res/template_102_controls.h"

#include <cstddef>

namespace kfg::res {
namespace {

using framework::ControlTemplate;
using framework::DialogTemplate;
using framework::kNoId;
using enum framework::ControlKind;
using enum framework::Style;

// Counted by hand: a row lost or duplicated in an edit shows up here.
static_assert(kMainControls.size() == 164);

// Addressing by id needs unique ids; a spin needs an editable field to step.
constexpr bool IdsUniqueAndBuddiesExist() {
    const auto sameId = [](const ControlTemplate& a, const ControlTemplate& b) {
        return a.id != kNoId && a.id == b.id;
    };
    if (!platform::NoRepeats(kMainControls, sameId)) {
        return false;
    }
    for (const ControlTemplate& control : kMainControls) {
        if (control.buddy != 0 && FindMainControl(control.buddy) == nullptr) {
            return false;
        }
        if (control.kind == Spin) {
            const ControlTemplate* field = FindMainControl(control.buddy);
            if (field == nullptr || field->kind != Edit || (field->styles & kReadOnly) != 0) {
                return false;
            }
        }
    }
    return true;
}
static_assert(IdsUniqueAndBuddiesExist());

constexpr bool MemoryFieldsPresent() {
    for (int id : kMemorySlotIds) {
        const ControlTemplate* field = FindMainControl(id);
        if (field == nullptr || field->kind != Edit || field->styles != kDigitsOnly) {
            return false;
        }
    }
    return true;
}
static_assert(MemoryFieldsPresent());
static_assert(kMainControls[0].id == kIdShowConfiguration,
              "the initial focus goes to \"Anzeigen\"");

constexpr DialogTemplate kMainDialog{kMainDialogId, "KFG", 432, 226, kMainControls};

} // namespace

const DialogTemplate& MainDialogTemplate() {
    return kMainDialog;
}

} // namespace kfg::res
