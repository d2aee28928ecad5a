#pragma once

class QComboBox;

namespace kfg::framework {

// Describes a drop-down list to assistive technology by its name (its label's text) and the
// entry it shows, and makes a change of entry a change of value that a screen reader speaks.
// Qt on Linux names a combo box by its entry alone, and without a selection for the screen
// reader to read a change of entry goes unheard. Role, actions and the popup stay as Qt gives
// them.
void DescribeDropDownList(QComboBox& combo);

} // namespace kfg::framework
