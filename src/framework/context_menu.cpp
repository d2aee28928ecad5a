#include "framework/context_menu.h"

#include "framework/modal_hook.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <utility>

namespace kfg::framework {
namespace {

// A menu as the test hook sees it: its entries' texts, one a line; End(n) chooses entry n
// (counting every entry, separators aside), any other number none.
class MenuView final : public ModalView {
public:
    explicit MenuView(QMenu& menu)
        : menu_(menu) {
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator()) {
                entries_.push_back(action);
            }
        }
    }
    QWidget* Widget() const override { return &menu_; }
    QString Text() const override {
        QStringList texts;
        for (const QAction* action : entries_) {
            texts << action->text();
        }
        return texts.join(QLatin1Char('\n'));
    }
    QString Caption() const override { return {}; }
    void End(int result) override {
        chosen_ = result >= 0 && static_cast<std::size_t>(result) < entries_.size()
                      ? entries_[static_cast<std::size_t>(result)]
                      : nullptr;
    }
    QAction* Chosen() const { return chosen_; }

private:
    QMenu& menu_;
    std::vector<QAction*> entries_;
    QAction* chosen_ = nullptr;
};

// Shows the menu, or hands it to the test hook; the entry chosen.
QAction* ExecMenu(QMenu& menu, const QPoint& at) {
    if (const ModalHook& hook = CurrentModalHook()) {
        MenuView view(menu);
        hook(view);
        if (QAction* chosen = view.Chosen()) {
            chosen->trigger(); // as a click would: the edit menu's own entries act on it
            return chosen;
        }
        return nullptr;
    }
    return menu.exec(at);
}

// Shows `menu` with `entries` at its end and runs the one chosen once the menu is gone: an
// entry may open a modal window of its own.
void ExecWithEntries(QMenu& menu, const std::vector<ContextEntry>& entries, const QPoint& at) {
    std::vector<std::pair<QAction*, std::function<void()>>> added;
    for (const ContextEntry& entry : entries) {
        added.emplace_back(menu.addAction(entry.text), entry.run);
    }
    QAction* chosen = ExecMenu(menu, at);
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
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window system turns the Menu key into a menu event; Shift+F10, the other key for
        // it, comes as a key that no control took.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier) {
                return false;
            }
            auto* window = static_cast<QWidget*>(parent());
            QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
            const QPoint middle = target->rect().center();
            QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, middle,
                                        target->mapToGlobal(middle));
            QApplication::sendEvent(target, &menuEvent);
            return true;
        }
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
