#pragma once

#include "framework/dialog.h"
#include "framework/modal_hook.h"

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace kfg::test {

// What came up modally, in order, as a test saw it.
struct SeenModal {
    bool isDialog = false;
    QString caption;
    QString text;
    framework::MessageIcon icon = framework::MessageIcon::None;
    int templateId = 0;
};

// Records every modal dialog and message box, hands dialogs to `onDialog` (which acts on it
// and may end it) and answers message boxes with OK.
class ModalScript {
public:
    using DialogAction = std::function<void(framework::Dialog&)>;
    explicit ModalScript(DialogAction onDialog = {});

    const std::vector<SeenModal>& Seen() const { return seen_; }
    // Each message box as "caption: text".
    std::vector<std::string> Messages() const;

private:
    DialogAction onDialog_;
    std::vector<SeenModal> seen_;
    framework::ScopedModalHook hook_;
};

} // namespace kfg::test
