#pragma once

#include <QIcon>

namespace kfg::framework {

// Makes `icon` the icon of every window of the program. A window system that takes icons
// from the program (X11) gets all its sizes as a window is made; until the first window has
// painted, it gets those up to 32 pixels only (title bars, task bars), and the large ones,
// which window switchers and docks show, follow right after: drawing them would hold up the
// first picture.
void SetApplicationIcon(const QIcon& icon);

} // namespace kfg::framework
