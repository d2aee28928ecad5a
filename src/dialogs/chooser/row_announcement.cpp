#include "dialogs/chooser/row_announcement.h"

#include <QAccessible>
#include <QEvent>
#include <QTreeWidget>

namespace kfg::dialogs {
namespace {

void AnnounceCurrentRow(QTreeWidget& tree) {
    const QModelIndex current = tree.currentIndex();
    if (!QAccessible::isActive() || !current.isValid() || !tree.hasFocus()) {
        return;
    }
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(&tree);
    QAccessibleTableInterface* table = node != nullptr ? node->tableInterface() : nullptr;
    QAccessibleInterface* cell =
        table != nullptr ? table->cellAt(current.row(), current.column()) : nullptr;
    if (cell == nullptr) {
        return;
    }
    QAccessibleEvent focus(&tree, QAccessible::Focus);
    focus.setChild(node->indexOfChild(cell));
    QAccessible::updateAccessibility(&focus);
}

class RowAnnouncement final : public QObject {
public:
    explicit RowAnnouncement(QTreeWidget& tree)
        : QObject(&tree)
        , tree_(tree) {
        tree.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &tree_ && event->type() == QEvent::FocusIn) {
            // After the tree's own focus is told, so that the row comes second, as in the tree.
            QMetaObject::invokeMethod(
                this, [this] { AnnounceCurrentRow(tree_); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QTreeWidget& tree_;
};

} // namespace

void AnnounceRowOnFocus(QTreeWidget& tree) {
    new RowAnnouncement(tree); // owned by the tree
}

} // namespace kfg::dialogs
