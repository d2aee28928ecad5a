#include "framework/message_box.h"

#include "framework/dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <optional>

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
    // What End() was given, if it was called.
    std::optional<int> Result() const { return result_; }

private:
    QMessageBox& box_;
    QString text_;
    QString caption_;
    MessageIcon icon_;
    std::optional<int> result_;
};

QWidget* ParentFor(Dialog* owner) {
    return owner != nullptr && owner->Window() != nullptr ? owner->Window()
                                                          : QApplication::activeModalWidget();
}

// Shows `box` modally, or hands it to the test hook; the end code the hook gave, if any.
std::optional<int> Run(QMessageBox& box, const QString& text, const QString& caption,
                       MessageIcon icon) {
    box.setWindowModality(Qt::ApplicationModal);
    if (const ModalHook& hook = CurrentModalHook()) {
        MessageBoxView view(box, text, caption, icon);
        box.show();
        hook(view);
        box.hide();
        return view.Result();
    }
    box.exec();
    return std::nullopt;
}

} // namespace

int MessageBox(Dialog* owner, const QString& text, const QString& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, ParentFor(owner));
    return Run(box, text, caption, icon).value_or(IDOK);
}

int MessageBoxYesNo(Dialog* owner, const QString& text, const QString& caption, const QString& yes,
                    const QString& no) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, ParentFor(owner));
    QPushButton* yesButton = box.addButton(yes, QMessageBox::YesRole);
    QPushButton* noButton = box.addButton(no, QMessageBox::NoRole);
    box.setDefaultButton(noButton);
    box.setEscapeButton(noButton);
    // A hook may answer by End() or, as a user does, by keys and clicks on the box itself.
    const std::optional<int> ended = Run(box, text, caption, MessageIcon::None);
    if (ended) {
        return *ended == IDYES ? IDYES : IDNO;
    }
    return box.clickedButton() == yesButton ? IDYES : IDNO;
}

} // namespace kfg::framework
