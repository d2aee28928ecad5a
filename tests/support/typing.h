#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace kfg::test {

// Presses one key with no text (arrows, Backspace) in `widget`.
inline void PressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// Types `text` into `field` key by key, as a user would, replacing what it held (an empty
// text erases it).
inline void TypeInto(QWidget* widget, const QString& text) {
    // A box made of parts takes keys in the part its focus goes to.
    QWidget* field = widget->focusProxy() != nullptr ? widget->focusProxy() : widget;
    field->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->selectAll();
    }
    if (text.isEmpty()) {
        PressKey(field, Qt::Key_Backspace);
    }
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

} // namespace kfg::test
