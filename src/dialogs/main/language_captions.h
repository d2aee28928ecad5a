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

// Names for controls whose caption does not name them: the icon buttons by their command.
struct CommandName {
    int id;
    const char* german;
    const char* spanish;
};
std::span<const CommandName> IconButtonNames();

} // namespace kfg::dialogs
