#include "framework/caption_fit.h"

#include "framework/widgets/combo_widgets.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

namespace kfg::framework {
namespace {

// Breaks a caption into lines that fit `width`, at blanks where possible.
QString WrapToWidth(const QString& text, const QFontMetrics& metrics, int width) {
    const QStringList words = text.split(QLatin1Char(' '));
    QStringList lines;
    QString line;
    for (const QString& word : words) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    lines << line;
    return lines.join(QLatin1Char('\n'));
}

// The width a button leaves for its text.
int TextRoom(const QAbstractButton* button) {
    const QStyle* style = button->style();
    if (qobject_cast<const QCheckBox*>(button) != nullptr) {
        return button->width() - style->pixelMetric(QStyle::PM_IndicatorWidth) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) - 2;
    }
    if (qobject_cast<const QRadioButton*>(button) != nullptr) {
        return button->width() - style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) - 2;
    }
    // Push buttons draw their text centred and may use their margins for it.
    return button->width() - 4;
}

// Qt announces every tip given, also the same again; the start gives each control its caption
// several times over.
void SetTip(QWidget& widget, const QString& tip) {
    if (widget.toolTip() != tip) {
        widget.setToolTip(tip);
    }
}

} // namespace

void FitCaption(QWidget* widget, const ControlTemplate& control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (control.icon != 0) {
            return; // the icon stands for the caption; the command names it for screen readers
        }
        const QFontMetrics metrics = button->fontMetrics();
        const int room = TextRoom(button);
        // Blanks at the ends of a caption show nothing, so they do not count when fitting it.
        const QString visible = text.trimmed();
        QString shown = text;
        if (metrics.horizontalAdvance(visible) <= room) {
            shown = text;
        } else if (HasStyle(control, kMultiLine)) {
            shown = WrapToWidth(visible, metrics, room);
        } else {
            shown = metrics.elidedText(visible, Qt::ElideRight, room);
        }
        // '&' in a caption is text, not a keyboard shortcut.
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        button->setText(shown);
        SetTip(*button, shown.contains(QChar(0x2026)) ? text : QString());
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (control.kind == ControlKind::Picture) {
            return;
        }
        const QFontMetrics metrics = label->fontMetrics();
        if (!label->wordWrap() && metrics.horizontalAdvance(text.trimmed()) > label->width()) {
            label->setText(metrics.elidedText(text.trimmed(), Qt::ElideRight, label->width()));
            SetTip(*label, text);
        } else {
            label->setText(text);
            SetTip(*label, QString());
        }
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // A read-only field serves as a label and follows the caption rules; others show
        // exactly what they hold.
        const QFontMetrics metrics = edit->fontMetrics();
        const int room = edit->width() - 4;
        if (edit->isReadOnly() && metrics.horizontalAdvance(text.trimmed()) > room) {
            edit->setText(metrics.elidedText(text.trimmed(), Qt::ElideRight, room));
            SetTip(*edit, text);
        } else {
            edit->setText(text);
            SetTip(*edit, QString());
        }
    } else if (auto* simple = qobject_cast<SimpleCombo*>(widget)) {
        simple->Edit()->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        }
    }
}

} // namespace kfg::framework
