#pragma once

class QAbstractButton;

namespace kfg::framework {

// Makes the accessibility "Toggle" action of a check box or radio button a real click, with
// the click's notification. Qt's own Toggle changes the mark silently, so a screen reader's
// toggle would bypass everything that listens for clicks.
void ToggleByClick(QAbstractButton& button);

} // namespace kfg::framework
