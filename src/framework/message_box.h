#pragma once

#include "framework/modal_hook.h"

#include <QString>

namespace kfg::framework {

class Dialog;

// A modal message with one OK button over `owner` (or over whatever is modal when null).
// Returns the end code, 1 (OK) unless a test hook decides otherwise.
int MessageBox(Dialog* owner, const QString& text, const QString& caption,
               MessageIcon icon = MessageIcon::None);

} // namespace kfg::framework
