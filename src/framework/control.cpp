#include "framework/control.h"

#include "framework/dialog.h"

namespace kfg::framework {

QWidget* Control::Widget() const {
    return dialog_ != nullptr ? dialog_->Item(id_) : nullptr;
}

void Control::Show(bool show) const {
    if (dialog_ != nullptr) {
        dialog_->ShowItem(id_, show);
    }
}

bool Control::IsShown() const {
    return dialog_ != nullptr && dialog_->IsItemShown(id_);
}

void Control::Enable(bool enable) const {
    if (dialog_ != nullptr) {
        dialog_->EnableItem(id_, enable);
    }
}

} // namespace kfg::framework
