#pragma once

class QTreeWidget;

namespace kfg::dialogs {

// Makes a screen reader say the row `tree` stands on when the tree takes the focus, as it does
// when the row changes: Qt tells assistive technology of a row only then.
void AnnounceRowOnFocus(QTreeWidget& tree);

} // namespace kfg::dialogs
