#include "framework/message_box.h"

#include "framework/dialog.h"

#include <QApplication>
#include <QMessageBox>

namespace kfg::framework {
namespace {

class MessageBoxView final : public ModalView {
public:
    MessageBoxView(QMessageBox& box, const QString& text, const QString& caption, MessageIcon icon)
        : box_(box)
        , text_(text)
        , caption_(caption)
        , icon_(icon) {}

    QWidget* Widget() const override { return &box_; }
    QString Text() const override { return text_; }
    QString Caption() const override { return caption_; }
    MessageIcon Icon() const override { return icon_; }
    void End(int result) override { result_ = result; }
    int Result() const { return result_; }

private:
    QMessageBox& box_;
    QString text_;
    QString caption_;
    MessageIcon icon_;
    int result_ = IDOK;
};

} // namespace

int MessageBox(Dialog* owner, const QString& text, const QString& caption, MessageIcon icon) {
    QWidget* parent = owner != nullptr && owner->Window() != nullptr
                          ? owner->Window()
                          : QApplication::activeModalWidget();
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    if (const ModalHook& hook = CurrentModalHook()) {
        MessageBoxView view(box, text, caption, icon);
        box.show();
        hook(view);
        box.hide();
        return view.Result();
    }
    box.exec();
    return IDOK;
}

} // namespace kfg::framework
