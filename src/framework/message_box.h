#pragma once

#include "framework/modal_hook.h"

#include <QString>

namespace kfg::framework {

class Dialog;

// The answers of a yes/no question.
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// A modal message with one OK button over `owner` (or over whatever is modal when null).
// Returns the end code, 1 (OK) unless a test hook decides otherwise.
int MessageBox(Dialog* owner, const QString& text, const QString& caption,
               MessageIcon icon = MessageIcon::None);

// A modal question with the buttons `yes` and `no` (the caller's language: the layer has no
// words of its own for them). "No" is the default button and the answer of Escape and the
// close box, so that a hasty Enter never agrees. Returns IDYES or IDNO; under a test hook,
// any end code but IDYES counts as no.
int MessageBoxYesNo(Dialog* owner, const QString& text, const QString& caption, const QString& yes,
                    const QString& no);

} // namespace kfg::framework
