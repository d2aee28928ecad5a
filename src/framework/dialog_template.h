#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kfg::framework {

// A rectangle in dialog units: x and width in quarters of the font's average character
// width, y and height in eighths of its line height.
struct DlgRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class ControlKind : std::uint8_t {
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Label,   // static text
    Picture, // static icon
    Edit,
    ComboBox, // drop-down list unless styled Editable or SimpleCombo
    Spin,     // up-down arrows attached to the field named by `buddy`
};

// Style flags of a control; a table row ORs them together.
enum Style : std::uint32_t {
    kNone = 0,
    kHidden = 1u << 0, // created invisible
    kDisabled = 1u << 1,
    kSorted = 1u << 2,      // combo boxes keep entries in case-insensitive order
    kEditable = 1u << 3,    // drop-down combo box with an edit field
    kSimpleCombo = 1u << 4, // edit field with its list always visible
    kMultiLine = 1u << 5,   // caption wraps
    kPushLike = 1u << 6,    // check box or radio button drawn as a push button
    kDefaultButton = 1u << 7,
    kDigitsOnly = 1u << 8, // the keyboard enters digits only
    kGroupStart = 1u << 9,
    kReadOnly = 1u << 10,
    kCentered = 1u << 11,  // static text centred in its rectangle
    kSpinWraps = 1u << 12, // spin steps from one end of its range to the other
};

inline constexpr int kNoId = -1; // statics and group boxes that no code addresses

// The OK and Cancel commands: a dialog runs OnOK and OnCancel for them.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

struct ControlTemplate {
    int id = kNoId;
    ControlKind kind = ControlKind::Label;
    std::string_view caption; // UTF-8, blanks exact
    DlgRect rect;
    std::uint32_t styles = kNone;
    int buddy = 0; // Spin: the field it steps. Others: the control whose text names it, 0 if own.
    int icon = 0;  // Picture and icon buttons: the icon resource shown
};

constexpr bool HasStyle(const ControlTemplate& control, Style style) {
    return (control.styles & style) != 0;
}

struct DialogTemplate {
    int id = 0;
    std::string_view title;
    int width = 0;
    int height = 0;
    std::span<const ControlTemplate> controls; // also the tab and creation order
    bool systemMenu = true;                    // a close box in the title bar
};

} // namespace kfg::framework
