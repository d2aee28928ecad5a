#include "framework/modal_hook.h"

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

} // namespace kfg::framework
