#include "framework/modal_hook.h"

#include <QDialog>
#include <utility>

namespace kfg::framework {
namespace {

// The one test seam of the dialog layer; nothing else is process-wide here.
ModalHook& HookSlot() {
    static ModalHook hook;
    return hook;
}

} // namespace

ScopedModalHook::ScopedModalHook(ModalHook hook)
    : previous_(std::exchange(HookSlot(), std::move(hook))) {}

ScopedModalHook::~ScopedModalHook() {
    HookSlot() = std::move(previous_);
}

const ModalHook& CurrentModalHook() {
    return HookSlot();
}

namespace {

class WindowView final : public ModalView {
public:
    explicit WindowView(QDialog& window)
        : window_(window) {}
    QWidget* Widget() const override { return &window_; }
    QString Caption() const override { return window_.windowTitle(); }
    void End(int result) override { window_.done(result); }

private:
    QDialog& window_;
};

} // namespace

int RunModal(QDialog& window) {
    const ModalHook& hook = CurrentModalHook();
    if (!hook) {
        return window.exec();
    }
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    WindowView view(window);
    hook(view);
    if (window.isVisible()) {
        window.reject();
    }
    return window.result();
}

} // namespace kfg::framework
