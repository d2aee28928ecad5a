#include "framework/widgets/combo_widgets.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kfg::framework {

void DropDownCombo::hidePopup() {
    // Qt also calls this when the box is hidden; only a list that was open closes up.
    const bool wasOpen = view() != nullptr && view()->isVisible();
    QComboBox::hidePopup();
    if (wasOpen) {
        emit closedUp();
    }
}

SimpleCombo::SimpleCombo(int editHeight, QWidget* parent)
    : QWidget(parent)
    , edit_(new QLineEdit(this))
    , list_(new QListWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit_->setFixedHeight(editHeight);
    layout->addWidget(edit_);
    layout->addWidget(list_);
    setFocusProxy(edit_);
    list_->setFocusPolicy(Qt::NoFocus);
    connect(edit_, &QLineEdit::textEdited, this, &SimpleCombo::textEdited);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        edit_->setText(item->text());
        emit selectionChosen();
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, &SimpleCombo::doubleClicked);
}

} // namespace kfg::framework
