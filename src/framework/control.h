#pragma once

class QWidget;

namespace kfg::framework {

class Dialog;

// A dialog's member standing for one control: it addresses the control by id once the first
// exchange has attached it, and does nothing before or after the dialog runs.
class Control {
public:
    explicit Control(int id)
        : id_(id) {}

    int Id() const { return id_; }
    void Attach(Dialog& dialog) { dialog_ = &dialog; }
    bool IsAttached() const { return dialog_ != nullptr; }

    QWidget* Widget() const;
    void Show(bool show) const;
    bool IsShown() const;
    void Enable(bool enable) const;

private:
    int id_;
    Dialog* dialog_ = nullptr;
};

} // namespace kfg::framework
