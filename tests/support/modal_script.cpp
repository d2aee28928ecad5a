#include "support/modal_script.h"

namespace kfg::test {

ModalScript::ModalScript(DialogAction onDialog)
    : onDialog_(std::move(onDialog))
    , hook_([this](framework::ModalView& view) {
        SeenModal seen;
        seen.caption = view.Caption();
        seen.text = view.Text();
        seen.icon = view.Icon();
        if (framework::Dialog* dialog = view.AsDialog()) {
            seen.isDialog = true;
            seen.templateId = dialog->Template().id;
            seen_.push_back(seen);
            if (onDialog_) {
                onDialog_(*dialog);
            }
            return;
        }
        seen_.push_back(seen);
        view.End(framework::IDOK);
    }) {}

std::vector<QString> ModalScript::MessageTexts() const {
    std::vector<QString> texts;
    for (const SeenModal& seen : seen_) {
        if (!seen.isDialog) {
            texts.push_back(seen.text);
        }
    }
    return texts;
}

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
