#pragma once

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace kfg::framework {

// An entry of a window's own menu, in the caller's words.
struct ContextEntry {
    QString text;
    std::function<void()> run;
};

// Gives `window` a menu of `entries`: a right click on its free area, the Menu key or Shift+F10
// on a control without a menu of its own opens it, and the edit menus of its fields end with
// the same entries, so that the keyboard reaches them from every control. `entries` is read
// each time a menu opens, so it may change meanwhile; it must outlive the window. Under a test
// hook the menu is handed to it (see modal_hook.h) instead of shown.
void AttachContextMenus(QWidget& window, const std::vector<ContextEntry>& entries);

} // namespace kfg::framework
