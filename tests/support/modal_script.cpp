#include "support/modal_script.h"

namespace kfg::test {

ModalScript::ModalScript(DialogAction onDialog)
    : onDialog_(std::move(onDialog))
    , hook_([this](framework::ModalView& view) {
        framework::Dialog* dialog = view.AsDialog();
        seen_.push_back({dialog != nullptr, view.Caption(), view.Text(), view.Icon(),
                         dialog != nullptr ? dialog->Template().id : 0});
        if (dialog == nullptr) {
            view.End(framework::IDOK);
        } else if (onDialog_) {
            onDialog_(*dialog);
        }
    }) {}

std::vector<std::string> ModalScript::Messages() const {
    std::vector<std::string> messages;
    for (const SeenModal& seen : seen_) {
        if (!seen.isDialog) {
            messages.push_back((seen.caption + ": " + seen.text).toStdString());
        }
    }
    return messages;
}

} // namespace kfg::test
