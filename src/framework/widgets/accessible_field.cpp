#include "framework/widgets/accessible_field.h"

#include "framework/widgets/accessible_factory.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

namespace kfg::framework {
namespace {

// An edit field as assistive technology sees it, as Qt describes one except for the runs of
// text attributes: Qt's own run at any offset is empty, and a screen reader that reads the
// text run by run then drops the last character of the field ("1" for "16", nothing for "0").
// The layer's fields have no attributes, so the whole text is one run.
class Field final : public QAccessibleWidget,
                    public QAccessibleTextInterface,
                    public QAccessibleEditableTextInterface {
public:
    explicit Field(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        // The layer's fields show what they hold (no password echo).
        if (t == QAccessible::Value) {
            return Edit()->text();
        }
        return QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value && !Edit()->isReadOnly()) {
            Edit()->setText(text);
        } else if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = Edit()->isReadOnly();
        state.editable = !Edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // Text.
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        const int count = characterCount();
        *startOffset = offset >= 0 && offset < count ? 0 : offset;
        *endOffset = offset >= 0 && offset < count ? count : offset;
        return {};
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    QString text(int startOffset, int endOffset) const override {
        return Edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Edit()->hasSelectedText()) {
            *startOffset = Edit()->selectionStart();
            *endOffset = Edit()->selectionEnd();
        }
    }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) {
            Edit()->deselect();
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0) {
            Edit()->setSelection(startOffset, endOffset - startOffset);
        }
    }
    QRect characterRect(int offset) const override {
        const QString shown = Edit()->text();
        if (offset < 0 || offset >= shown.size()) {
            return {};
        }
        // Measured from the cursor, the one position the field tells its place of.
        const QFontMetrics metrics(Edit()->font());
        const QRect cursor = Edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = cursor.x() + metrics.horizontalAdvance(shown.left(offset)) -
                      metrics.horizontalAdvance(shown.left(Edit()->cursorPosition()));
        const QRect rect(x, cursor.y(), metrics.horizontalAdvance(shown.at(offset)),
                         metrics.height());
        return rect.translated(Edit()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = Edit()->mapFromGlobal(point);
        return Edit()->rect().contains(local) ? Edit()->cursorPositionAt(local) : -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Edit()->setCursorPosition(endIndex);
        Edit()->setCursorPosition(startIndex);
    }

    // Editable text.
    void deleteText(int startOffset, int endOffset) override {
        replaceText(startOffset, endOffset, {});
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        if (!Edit()->isReadOnly()) {
            Edit()->setText(Edit()->text().replace(startOffset, endOffset - startOffset, text));
        }
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

} // namespace

void DescribeField(QLineEdit& edit) {
    DescribeAs<Field>(edit);
}

} // namespace kfg::framework
