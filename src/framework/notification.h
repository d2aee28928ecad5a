#pragma once

namespace kfg::framework {

// The control notifications a message map can route.
enum class Notification {
    Clicked,          // a button, check box or radio button
    EditChange,       // an edit field's text changed (typed or set outside an exchange)
    ComboSelChange,   // the user chose a list entry
    ComboEditChange,  // the user typed into a combo box's field
    ComboDoubleClick, // a double-click in a simple combo box's list
    ComboCloseUp,     // a drop-down list closed
};

} // namespace kfg::framework
