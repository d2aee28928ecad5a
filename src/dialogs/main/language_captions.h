#pragma once

#include <span>

namespace kfg::dialogs {

struct CaptionRow {
    int id;
    const char* text; // UTF-8, blanks exact
};

// The Spanish captions, in the order they are set; 29 template captions and the six
// read-only label fields.
std::span<const CaptionRow> SpanishCaptions();
// The German texts of the six label fields, whose template text is empty.
std::span<const CaptionRow> GermanLabelTexts();

// Names for controls whose caption does not name them, in both caption languages.
struct ControlName {
    int id;
    const char* german;
    const char* spanish;
};
// The icon buttons, by their command.
std::span<const ControlName> IconButtonNames();
// The drop-down lists that share a group box, each by what it chooses.
std::span<const ControlName> ListNames();

} // namespace kfg::dialogs
