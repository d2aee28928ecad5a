#pragma once

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>
#include <QTest>
#include <algorithm>
#include <functional>

namespace kfg::test {

// The button of `box` whose text is `text` (UTF-8); null when there is none.
inline QAbstractButton* ButtonTitled(const QMessageBox& box, const char* text) {
    const QList<QAbstractButton*> buttons = box.buttons();
    const auto found = std::ranges::find_if(
        buttons, [text](const QAbstractButton* b) { return b->text() == QString::fromUtf8(text); });
    return found != buttons.end() ? *found : nullptr;
}

// How a test answers a message box, as a user would: by a key or by a click on a button.
using Answer = std::function<void(QMessageBox&)>;
inline Answer Press(Qt::Key key) {
    return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
}
inline Answer ClickOn(const char* text) {
    return [text](QMessageBox& box) { QTest::mouseClick(ButtonTitled(box, text), Qt::LeftButton); };
}

} // namespace kfg::test
