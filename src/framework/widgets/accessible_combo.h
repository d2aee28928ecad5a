#pragma once

class QComboBox;

namespace kfg::framework {

// Describes a drop-down list to assistive technology by the name it was given (its label's
// text), not by its current entry: Qt on Linux names a combo box by its text, so a screen
// reader announced the value and never what is chosen there. Role, value, actions and the
// popup stay as Qt gives them.
void NameByLabel(QComboBox& combo);

} // namespace kfg::framework
