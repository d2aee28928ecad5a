#include "framework/dialog.h"

#include "framework/caption_fit.h"
#include "framework/control_widgets.h"
#include "framework/data_exchange.h"
#include "framework/dialog_controls.h"
#include "framework/dialog_units.h"
#include "framework/modal_hook.h"
#include "framework/widgets/spin_arrows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace kfg::framework {

// The window of a running dialog: routes Escape, the close box and Enter to the dialog.
class Dialog::ModalWindow final : public QDialog {
public:
    ModalWindow(Dialog& owner, QWidget* parent)
        : QDialog(parent)
        , owner_(owner) {}

    void reject() override { owner_.OnCancel(); }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore(); // the dialog decides, through EndDialog
        owner_.OnClose();
    }

    void paintEvent(QPaintEvent* event) override {
        QDialog::paintEvent(event);
        owner_.Painted();
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // As the platform's dialog manager does: the focused push button, else the
            // default button.
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            if (focused != nullptr && !focused->isCheckable()) {
                focused->click();
            } else {
                owner_.OnEnter();
            }
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    Dialog& owner_;
};

namespace {

class DialogView final : public ModalView {
public:
    explicit DialogView(Dialog& dialog)
        : dialog_(dialog) {}
    QWidget* Widget() const override { return dialog_.Window(); }
    Dialog* AsDialog() const override { return &dialog_; }
    QString Caption() const override { return dialog_.Title(); }
    void End(int result) override { dialog_.EndDialog(result); }

private:
    Dialog& dialog_;
};

} // namespace

Dialog::Dialog(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate)
    , title_(QString::fromUtf8(dialogTemplate.title.data(),
                               static_cast<qsizetype>(dialogTemplate.title.size()))) {}

Dialog::~Dialog() {
    Teardown();
}

bool Dialog::IsRunning() const {
    return controls_ != nullptr;
}

QWidget* Dialog::Window() const {
    return controls_ ? controls_->window.get() : nullptr;
}

QWidget* Dialog::Item(int id) const {
    if (!controls_) {
        return nullptr;
    }
    const auto found = controls_->byId.find(id);
    return found == controls_->byId.end() ? nullptr : found->second;
}

int Dialog::DoModal() {
    if (IsRunning()) {
        return -1;
    }
    ended_ = false;
    result_ = IDCANCEL;
    Build();
    const bool defaultFocus = OnInitDialog();
    if (!ended_) {
        if (defaultFocus) {
            FocusFirstTabStop();
        }
        FitSeenCaptions();
        controls_->window->show();
        if (const ModalHook& hook = CurrentModalHook()) {
            DialogView view(*this);
            hook(view);
            if (!ended_) {
                EndDialog(IDCANCEL);
            }
        } else {
            QEventLoop loop;
            quitLoop_ = [&loop] { loop.exit(); };
            loop.exec();
            quitLoop_ = nullptr;
        }
    }
    Teardown();
    return result_;
}

void Dialog::Painted() {
    if (afterFirstPaint_.empty()) {
        return;
    }
    QMetaObject::invokeMethod(
        controls_->window.get(),
        [work = std::exchange(afterFirstPaint_, {})] {
            for (const std::function<void()>& each : work) {
                each();
            }
        },
        Qt::QueuedConnection);
}

void Dialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (quitLoop_) {
        quitLoop_();
    }
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::OnClose() {
    OnCancel();
}

void Dialog::DoDataExchange(DataExchange& /*exchange*/) {}

void Dialog::Map(Notification notification, int id, Handler handler) {
    messageMap_[{notification, id}] = std::move(handler);
}

void Dialog::Dispatch(Notification notification, int id) {
    if (exchanging_) {
        return;
    }
    const auto found = messageMap_.find({notification, id});
    if (found != messageMap_.end()) {
        found->second();
    } else if (notification == Notification::Clicked && id == IDOK) {
        OnOK();
    } else if (notification == Notification::Clicked && id == IDCANCEL) {
        OnCancel();
    }
}

void Dialog::OnEnter() {
    PressDefault();
}

void Dialog::PressDefault() {
    for (const ControlTemplate& control : template_.controls) {
        if (HasStyle(control, kDefaultButton) && IsItemShown(control.id) &&
            IsItemEnabled(control.id)) {
            Click(control.id);
            return;
        }
    }
    Dispatch(Notification::Clicked, IDOK);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    if (!IsRunning()) {
        return false;
    }
    if (exchangeHeld_) {
        return true;
    }
    exchanging_ = true;
    DataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    exchanging_ = false;
    return !exchange.Failed();
}

void Dialog::Build() {
    // Filling in the template's texts is no user action: nothing is dispatched meanwhile.
    exchanging_ = true;
    controls_ = std::make_unique<Controls>();
    Controls& c = *controls_;
    c.window = std::make_unique<ModalWindow>(*this, QApplication::activeModalWidget());
    QDialog* window = c.window.get();
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (template_.systemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    window->setWindowFlags(flags);
    window->setWindowModality(Qt::ApplicationModal);
    window->setWindowTitle(title_);
    const DialogUnits units(QApplication::font());
    window->setFixedSize(units.X(template_.width), units.Y(template_.height));

    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = CreateControl(control, units);
        if (control.id != kNoId) {
            c.byId[control.id] = widget;
            c.templates[control.id] = &control;
        }
        if (control.buddy != 0) {
            c.named.emplace(control.buddy, control.id);
        }
        widget->setHidden(HasStyle(control, kHidden));
        widget->setEnabled(!HasStyle(control, kDisabled));
        if (control.kind == ControlKind::GroupBox) {
            widget->lower(); // a frame behind the controls it surrounds
        }
        if (control.id != kNoId) {
            ApplyCaption(control.id,
                         QString::fromUtf8(control.caption.data(),
                                           static_cast<qsizetype>(control.caption.size())));
        } else {
            FitCaption(widget, control,
                       QString::fromUtf8(control.caption.data(),
                                         static_cast<qsizetype>(control.caption.size())));
        }
    }
    RefreshAccessibleNames();
    if (!contextEntries_.empty()) {
        AttachContextMenus(*window, contextEntries_);
    }
    exchanging_ = false;
}

QWidget* Dialog::CreateControl(const ControlTemplate& control, const DialogUnits& units) {
    QDialog* window = controls_->window.get();
    const QRect rect = units.ToPixels(control.rect);
    const Notify notify = [this, id = control.id](Notification notification) {
        Dispatch(notification, id);
    };
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        return CreateButton(control, rect, window, notify);
    case ControlKind::GroupBox:
        return CreateGroupBox(rect, window);
    case ControlKind::Label:
        return CreateLabel(control, rect, window);
    case ControlKind::Picture:
        return CreatePicture(control, rect, window);
    case ControlKind::Edit:
        return CreateEdit(control, rect, window, notify);
    case ControlKind::ComboBox:
        return CreateComboBox(control, rect,
                              std::max(units.Y(12), window->fontMetrics().height() + 6), window,
                              notify);
    case ControlKind::Spin: {
        SpinArrows* spin = CreateSpin(control, rect, qobject_cast<QLineEdit*>(Item(control.buddy)),
                                      std::max(units.X(8), 12), TextsFor(language_), window);
        if (control.id != kNoId) {
            controls_->spins[control.id] = spin;
        }
        return spin;
    }
    }
    return nullptr;
}

void Dialog::Teardown() {
    if (controls_) {
        // Widgets going away raise no notifications the dialog would act on.
        exchanging_ = true;
        controls_->window->hide();
        controls_.reset();
        exchanging_ = false;
    }
}

void Dialog::FocusFirstTabStop() {
    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = Item(control.id);
        if (widget != nullptr && !widget->isHidden() && widget->isEnabled() &&
            widget->focusPolicy() != Qt::NoFocus && control.kind != ControlKind::GroupBox &&
            control.kind != ControlKind::Label && control.kind != ControlKind::Picture) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Dialog::SetTitle(const QString& title) {
    title_ = title;
    if (QWidget* window = Window()) {
        window->setWindowTitle(title);
    }
}

QString Dialog::Title() const {
    return title_;
}

void Dialog::Click(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
        button->click();
    }
}

void Dialog::PressEscape() {
    if (QWidget* window = Window()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window, &press);
    }
}

void Dialog::CloseWindow() {
    if (QWidget* window = Window()) {
        window->close();
    }
}

} // namespace kfg::framework
