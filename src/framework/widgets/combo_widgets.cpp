#include "framework/widgets/combo_widgets.h"

#include "framework/widgets/accessible_field.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kfg::framework {

void DropDownCombo::showPopup() {
    QComboBox::showPopup();
    popupShown_ = true;
}

void DropDownCombo::hidePopup() {
    // Qt also calls this when the box is hidden; only a list that was open closes up. A list
    // never shown has no view yet, and asking for one would build it for nothing.
    const bool wasOpen = popupShown_ && view()->isVisible();
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
    DescribeField(*edit_);
    setFocusProxy(edit_);
    list_->setFocusPolicy(Qt::NoFocus);
    connect(edit_, &QLineEdit::textEdited, this, &SimpleCombo::textEdited);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Choose(list_->row(item)); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &SimpleCombo::doubleClicked);
    edit_->installEventFilter(this);
}

void SimpleCombo::SetAccessibleName(const QString& name) {
    setAccessibleName(name);
    edit_->setAccessibleName(name);
    list_->setAccessibleName(name);
}

void SimpleCombo::Choose(int row) {
    list_->setCurrentRow(row);
    edit_->setText(list_->item(row)->text());
    emit selectionChosen();
}

// Up and Down step through the list as in a simple combo box of the platform: from no choice
// both take the first entry; the ends do not wrap. The entry goes into the field, selected.
bool SimpleCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int current = list_->currentRow();
            const int next = current < 0 ? 0 : current + (key == Qt::Key_Down ? 1 : -1);
            if (next >= 0 && next < list_->count() && next != current) {
                Choose(next);
                edit_->selectAll();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kfg::framework
