#pragma once

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>
#include <algorithm>

namespace kfg::test {

// The button of `box` whose text is `text` (UTF-8); null when there is none.
inline QAbstractButton* ButtonTitled(const QMessageBox& box, const char* text) {
    const QList<QAbstractButton*> buttons = box.buttons();
    const auto found = std::ranges::find_if(
        buttons, [text](const QAbstractButton* b) { return b->text() == QString::fromUtf8(text); });
    return found != buttons.end() ? *found : nullptr;
}

} // namespace kfg::test
