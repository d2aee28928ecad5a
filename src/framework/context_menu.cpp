#include "framework/context_menu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QWidget>
#include <memory>
#include <utility>

namespace kfg::framework {
namespace {

// Shows `menu` with `entries` at its end and runs the one chosen once the menu is gone: an
// entry may open a modal window of its own.
void ExecWithEntries(QMenu& menu, const std::vector<ContextEntry>& entries, const QPoint& at) {
    std::vector<std::pair<QAction*, std::function<void()>>> added;
    for (const ContextEntry& entry : entries) {
        added.emplace_back(menu.addAction(entry.text), entry.run);
    }
    QAction* chosen = menu.exec(at);
    for (const auto& [action, run] : added) {
        if (action == chosen && run) {
            run();
        }
    }
}

// The window catches what no control takes: a right click on its free area, the Menu key or
// Shift+F10 on a control without a menu of its own.
class WindowMenu final : public QObject {
public:
    WindowMenu(QWidget& window, const std::vector<ContextEntry>& entries)
        : QObject(&window)
        , entries_(entries) {
        window.installEventFilter(this);
        // Qt turns the Menu key into a menu event; Shift+F10, its other key, it leaves alone.
        auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &window);
        shiftF10->setContext(Qt::WindowShortcut);
        QObject::connect(shiftF10, &QShortcut::activated, this, [&window] {
            QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
            const QPoint middle = target->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, middle,
                                    target->mapToGlobal(middle));
            QApplication::sendEvent(target, &event);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu || entries_.empty()) {
            return false;
        }
        (void)watched; // the window, or a control that passed the event on
        QMenu menu;
        ExecWithEntries(menu, entries_, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }

private:
    const std::vector<ContextEntry>& entries_;
};

} // namespace

void AttachContextMenus(QWidget& window, const std::vector<ContextEntry>& entries) {
    new WindowMenu(window, entries); // owned by the window
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (field->isReadOnly() && field->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(field, &QWidget::customContextMenuRequested, field,
                         [field, &entries](const QPoint& at) {
                             const std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
                             if (!entries.empty()) {
                                 menu->addSeparator();
                             }
                             ExecWithEntries(*menu, entries, field->mapToGlobal(at));
                         });
    }
}

} // namespace kfg::framework
