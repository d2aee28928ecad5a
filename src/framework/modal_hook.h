#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace kfg::framework {

class Dialog;

enum class MessageIcon { None, Warning };

// What a test (or the snapshot tool) is handed at the moment a dialog or message box would
// become modal. It reads what it needs, may act on it, and ends it with End(); whatever it
// leaves running is cancelled when the hook returns.
class ModalView {
public:
    virtual ~ModalView() = default;
    virtual QWidget* Widget() const = 0;
    virtual Dialog* AsDialog() const { return nullptr; } // null for a message box
    virtual QString Text() const { return {}; }          // message boxes
    virtual QString Caption() const = 0;
    virtual MessageIcon Icon() const { return MessageIcon::None; }
    virtual void End(int result) = 0;
};

using ModalHook = std::function<void(ModalView&)>;

// Installs a hook for its lifetime; the previous one comes back afterwards.
class ScopedModalHook {
public:
    explicit ScopedModalHook(ModalHook hook);
    ~ScopedModalHook();
    ScopedModalHook(const ScopedModalHook&) = delete;
    ScopedModalHook& operator=(const ScopedModalHook&) = delete;

private:
    ModalHook previous_;
};

// The hook in force, or null: then modal UI runs for real.
const ModalHook& CurrentModalHook();

// Runs a window of plain Qt Widgets modally, or hands it to the hook in force (its title as
// the caption): the end code it gave, or QDialog's Rejected when the hook left it open.
int RunModal(QDialog& window);

} // namespace kfg::framework
