#include "framework/dialog.h"

#include "framework/data_exchange.h"
#include "framework/dialog_units.h"
#include "framework/modal_hook.h"
#include "framework/widgets/accessible_buttons.h"
#include "framework/widgets/combo_widgets.h"
#include "framework/widgets/spin_arrows.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace kfg::framework {
namespace {

// Drops typed characters other than digits; text set by the program is not filtered, so a
// negative number loaded from a file still shows and reads back.
class DigitsOnlyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const QString typed = static_cast<QKeyEvent*>(event)->text();
            for (const QChar c : typed) {
                if (c.isPrint() && !c.isDigit()) {
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

bool Has(const ControlTemplate& control, Style style) {
    return (control.styles & style) != 0;
}

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

} // namespace

// The window of a running dialog: routes Escape, the close box and Enter to the dialog.
class Dialog::ModalWindow final : public QDialog {
public:
    ModalWindow(Dialog& owner, QWidget* parent)
        : QDialog(parent)
        , owner_(owner) {}

    void reject() override { owner_.OnCancel(); }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore(); // the dialog decides, through EndDialog
        owner_.OnClose();
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // As the platform's dialog manager does: the focused push button, else the
            // default button.
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            if (focused != nullptr && !focused->isCheckable()) {
                focused->click();
            } else {
                owner_.OnEnter();
            }
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    Dialog& owner_;
};

struct Dialog::Controls {
    std::unique_ptr<ModalWindow> window;
    std::map<int, QWidget*> byId;
    std::map<int, const ControlTemplate*> templates;
    std::map<int, QString> captions; // full captions, before wrapping or eliding
    std::multimap<int, int> named;   // label (or field) id -> the controls (or spins) it names
    std::map<int, SpinArrows*> spins;
};

namespace {

class DialogView final : public ModalView {
public:
    explicit DialogView(Dialog& dialog)
        : dialog_(dialog) {}
    QWidget* Widget() const override { return dialog_.Window(); }
    Dialog* AsDialog() const override { return &dialog_; }
    QString Caption() const override { return dialog_.Title(); }
    void End(int result) override { dialog_.EndDialog(result); }

private:
    Dialog& dialog_;
};

} // namespace

Dialog::Dialog(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate)
    , title_(QString::fromUtf8(dialogTemplate.title.data(),
                               static_cast<qsizetype>(dialogTemplate.title.size()))) {}

Dialog::~Dialog() {
    Teardown();
}

bool Dialog::IsRunning() const {
    return controls_ != nullptr;
}

QWidget* Dialog::Window() const {
    return controls_ ? controls_->window.get() : nullptr;
}

QWidget* Dialog::Item(int id) const {
    if (!controls_) {
        return nullptr;
    }
    const auto found = controls_->byId.find(id);
    return found == controls_->byId.end() ? nullptr : found->second;
}

int Dialog::DoModal() {
    if (IsRunning()) {
        return -1;
    }
    ended_ = false;
    result_ = IDCANCEL;
    Build();
    const bool defaultFocus = OnInitDialog();
    if (!ended_) {
        if (defaultFocus) {
            FocusFirstTabStop();
        }
        controls_->window->show();
        if (const ModalHook& hook = CurrentModalHook()) {
            DialogView view(*this);
            hook(view);
            if (!ended_) {
                EndDialog(IDCANCEL);
            }
        } else {
            QEventLoop loop;
            quitLoop_ = [&loop] { loop.exit(); };
            loop.exec();
            quitLoop_ = nullptr;
        }
    }
    Teardown();
    return result_;
}

void Dialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (quitLoop_) {
        quitLoop_();
    }
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::OnClose() {
    OnCancel();
}

void Dialog::DoDataExchange(DataExchange& /*exchange*/) {}

void Dialog::Map(Notification notification, int id, Handler handler) {
    messageMap_[{notification, id}] = std::move(handler);
}

void Dialog::Dispatch(Notification notification, int id) {
    if (exchanging_) {
        return;
    }
    const auto found = messageMap_.find({notification, id});
    if (found != messageMap_.end()) {
        found->second();
    } else if (notification == Notification::Clicked && id == IDOK) {
        OnOK();
    } else if (notification == Notification::Clicked && id == IDCANCEL) {
        OnCancel();
    }
}

void Dialog::OnEnter() {
    PressDefault();
}

void Dialog::PressDefault() {
    for (const ControlTemplate& control : template_.controls) {
        if (Has(control, kDefaultButton) && IsItemShown(control.id) && IsItemEnabled(control.id)) {
            Click(control.id);
            return;
        }
    }
    Dispatch(Notification::Clicked, IDOK);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    if (!IsRunning()) {
        return false;
    }
    exchanging_ = true;
    DataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    exchanging_ = false;
    return !exchange.Failed();
}

void Dialog::Build() {
    // Filling in the template's texts is no user action: nothing is dispatched meanwhile.
    exchanging_ = true;
    controls_ = std::make_unique<Controls>();
    Controls& c = *controls_;
    c.window = std::make_unique<ModalWindow>(*this, QApplication::activeModalWidget());
    QDialog* window = c.window.get();
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (template_.systemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    window->setWindowFlags(flags);
    window->setWindowModality(Qt::ApplicationModal);
    window->setWindowTitle(title_);
    if (!windowIcon_.isNull()) {
        window->setWindowIcon(windowIcon_);
    }
    const DialogUnits units(QApplication::font());
    window->setFixedSize(units.X(template_.width), units.Y(template_.height));

    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = CreateControl(control, units);
        if (control.id != kNoId) {
            c.byId[control.id] = widget;
            c.templates[control.id] = &control;
        }
        if (control.buddy != 0) {
            c.named.emplace(control.buddy, control.id);
        }
        widget->setHidden(Has(control, kHidden));
        widget->setEnabled(!Has(control, kDisabled));
        if (control.kind == ControlKind::GroupBox) {
            widget->lower(); // a frame behind the controls it surrounds
        }
        if (control.id != kNoId) {
            ApplyCaption(control.id,
                         QString::fromUtf8(control.caption.data(),
                                           static_cast<qsizetype>(control.caption.size())));
        } else {
            ApplyCaptionTo(widget, control,
                           QString::fromUtf8(control.caption.data(),
                                             static_cast<qsizetype>(control.caption.size())));
        }
    }
    RefreshAccessibleNames();
    exchanging_ = false;
}

QWidget* Dialog::CreateControl(const ControlTemplate& control, const DialogUnits& units) {
    Controls& c = *controls_;
    QDialog* window = c.window.get();
    const int id = control.id;
    QRect rect = units.ToPixels(control.rect);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
        QAbstractButton* button = nullptr;
        if (control.kind == ControlKind::PushButton || Has(control, kPushLike)) {
            auto* push = new QPushButton(window);
            push->setAutoDefault(false);
            push->setCheckable(control.kind != ControlKind::PushButton);
            if (control.kind == ControlKind::RadioButton) {
                push->setAutoExclusive(true);
            }
            button = push;
        } else if (control.kind == ControlKind::CheckBox) {
            button = new QCheckBox(window);
        } else {
            button = new QRadioButton(window);
        }
        if (control.icon != 0) {
            button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(control.icon)));
            const int side = std::min(rect.width(), rect.height()) * 3 / 4;
            button->setIconSize(QSize(side, side));
        }
        if (button->isCheckable()) {
            ToggleByClick(*button);
        }
        QObject::connect(button, &QAbstractButton::clicked, window,
                         [this, id] { Dispatch(Notification::Clicked, id); });
        widget = button;
        break;
    }
    case ControlKind::GroupBox:
        widget = new QGroupBox(window);
        break;
    case ControlKind::Label: {
        auto* label = new QLabel(window);
        label->setAlignment((Has(control, kCentered) ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignTop);
        label->setWordWrap(Has(control, kMultiLine));
        widget = label;
        break;
    }
    case ControlKind::Picture: {
        auto* picture = new QLabel(window);
        const QIcon icon(QStringLiteral(":/icons/%1.svg").arg(control.icon));
        const int side = std::min(rect.width(), rect.height());
        picture->setPixmap(icon.pixmap(QSize(side, side)));
        picture->setAlignment(Qt::AlignCenter);
        widget = picture;
        break;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(window);
        if (Has(control, kReadOnly)) {
            // A read-only field serves as a label: no frame, no focus, the window's colour.
            edit->setReadOnly(true);
            edit->setFrame(false);
            edit->setFocusPolicy(Qt::NoFocus);
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, Qt::transparent);
            edit->setPalette(palette);
        }
        if (Has(control, kDigitsOnly)) {
            edit->installEventFilter(new DigitsOnlyFilter(edit));
        }
        QObject::connect(edit, &QLineEdit::textChanged, window,
                         [this, id] { Dispatch(Notification::EditChange, id); });
        widget = edit;
        break;
    }
    case ControlKind::ComboBox: {
        const int editHeight = std::max(units.Y(12), window->fontMetrics().height() + 6);
        if (Has(control, kSimpleCombo)) {
            auto* simple = new SimpleCombo(editHeight, window);
            QObject::connect(simple, &SimpleCombo::selectionChosen, window,
                             [this, id] { Dispatch(Notification::ComboSelChange, id); });
            QObject::connect(simple, &SimpleCombo::textEdited, window,
                             [this, id] { Dispatch(Notification::ComboEditChange, id); });
            QObject::connect(simple, &SimpleCombo::doubleClicked, window,
                             [this, id] { Dispatch(Notification::ComboDoubleClick, id); });
            widget = simple;
        } else {
            auto* combo = new DropDownCombo(window);
            combo->setEditable(Has(control, kEditable));
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setMaxVisibleItems(std::max(3, (control.rect.height - 12) / 8));
            QObject::connect(combo, &QComboBox::activated, window,
                             [this, id] { Dispatch(Notification::ComboSelChange, id); });
            QObject::connect(combo, &DropDownCombo::closedUp, window,
                             [this, id] { Dispatch(Notification::ComboCloseUp, id); });
            if (combo->lineEdit() != nullptr) {
                QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, window,
                                 [this, id] { Dispatch(Notification::ComboEditChange, id); });
            }
            // The template's height includes the dropped-down list; the box itself is one line.
            rect.setHeight(editHeight);
            widget = combo;
        }
        break;
    }
    case ControlKind::Spin: {
        auto* buddy = qobject_cast<QLineEdit*>(Item(control.buddy));
        auto* spin = new SpinArrows(buddy, Has(control, kSpinWraps), window);
        const LayerTexts& texts = TextsFor(language_);
        spin->SetArrowNames(QString::fromUtf8(texts.spinUp), QString::fromUtf8(texts.spinDown));
        if (buddy != nullptr) {
            // Attached inside the right edge of its field, which gives up that room.
            const int arrowsWidth = std::max(units.X(8), 12);
            const QRect field = buddy->geometry();
            buddy->setGeometry(field.adjusted(0, 0, -arrowsWidth, 0));
            rect = QRect(field.right() - arrowsWidth + 1, field.top(), arrowsWidth, field.height());
        }
        if (id != kNoId) {
            c.spins[id] = spin;
        }
        widget = spin;
        break;
    }
    }
    widget->setGeometry(rect);
    return widget;
}

void Dialog::Teardown() {
    if (controls_) {
        // Widgets going away raise no notifications the dialog would act on.
        exchanging_ = true;
        controls_->window->hide();
        controls_.reset();
        exchanging_ = false;
    }
}

void Dialog::FocusFirstTabStop() {
    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = Item(control.id);
        if (widget != nullptr && !widget->isHidden() && widget->isEnabled() &&
            widget->focusPolicy() != Qt::NoFocus && control.kind != ControlKind::GroupBox &&
            control.kind != ControlKind::Label && control.kind != ControlKind::Picture) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Dialog::ApplyCaption(int id, const QString& text) {
    if (!controls_) {
        return;
    }
    controls_->captions[id] = text;
    const auto found = controls_->templates.find(id);
    if (found != controls_->templates.end()) {
        ApplyCaptionTo(Item(id), *found->second, text);
    }
}

void Dialog::ApplyCaptionTo(QWidget* widget, const ControlTemplate& control, const QString& text) {
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
        } else if (Has(control, kMultiLine)) {
            shown = WrapToWidth(visible, metrics, room);
        } else {
            shown = metrics.elidedText(visible, Qt::ElideRight, room);
        }
        // '&' in a caption is text, not a keyboard shortcut.
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        button->setText(shown);
        button->setToolTip(shown.contains(QChar(0x2026)) ? text : QString());
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (control.kind == ControlKind::Picture) {
            return;
        }
        const QFontMetrics metrics = label->fontMetrics();
        if (!label->wordWrap() && metrics.horizontalAdvance(text.trimmed()) > label->width()) {
            label->setText(metrics.elidedText(text.trimmed(), Qt::ElideRight, label->width()));
            label->setToolTip(text);
        } else {
            label->setText(text);
            label->setToolTip(QString());
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
            edit->setToolTip(text);
        } else {
            edit->setText(text);
            edit->setToolTip(QString());
        }
    } else if (auto* simple = qobject_cast<SimpleCombo*>(widget)) {
        simple->Edit()->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        }
    }
}

QString Dialog::ItemText(int id) const {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return {};
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !edit->isReadOnly()) {
        return edit->text();
    }
    if (auto* simple = qobject_cast<SimpleCombo*>(widget)) {
        return simple->Edit()->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentText();
    }
    const auto caption = controls_->captions.find(id);
    return caption == controls_->captions.end() ? QString() : caption->second;
}

void Dialog::SetItemText(int id, const QString& text) {
    if (Item(id) == nullptr) {
        return;
    }
    ApplyCaption(id, text);
    UpdateAccessibleName(id); // and those it names follow the text shown now
}

void Dialog::SetItemInt(int id, int value) {
    SetItemText(id, QString::number(value));
}

int Dialog::CheckState(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(Item(id));
    return button != nullptr && button->isChecked() ? 1 : 0;
}

void Dialog::SetCheck(int id, int state) {
    if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
        button->setChecked(state != 0);
    }
}

void Dialog::ShowItem(int id, bool show) {
    if (QWidget* widget = Item(id)) {
        widget->setHidden(!show);
    }
}

bool Dialog::IsItemShown(int id) const {
    QWidget* widget = Item(id);
    return widget != nullptr && !widget->isHidden();
}

void Dialog::EnableItem(int id, bool enable) {
    if (QWidget* widget = Item(id)) {
        widget->setEnabled(enable);
    }
}

bool Dialog::IsItemEnabled(int id) const {
    QWidget* widget = Item(id);
    return widget != nullptr && widget->isEnabled();
}

void Dialog::SetItemIcon(int id, const QIcon& icon) {
    if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
        button->setIcon(icon);
    }
}

void Dialog::SetFocusTo(int id, bool selectAll) {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return;
    }
    widget->setFocus(Qt::OtherFocusReason);
    if (!selectAll) {
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    }
}

void Dialog::SetTitle(const QString& title) {
    title_ = title;
    if (QWidget* window = Window()) {
        window->setWindowTitle(title);
    }
}

QString Dialog::Title() const {
    return title_;
}

void Dialog::SetWindowIcon(const QIcon& icon) {
    windowIcon_ = icon;
    if (QWidget* window = Window()) {
        window->setWindowIcon(icon);
    }
}

namespace {

QComboBox* AsCombo(QWidget* widget) {
    return qobject_cast<QComboBox*>(widget);
}
QListWidget* AsSimpleList(QWidget* widget) {
    auto* simple = qobject_cast<SimpleCombo*>(widget);
    return simple != nullptr ? simple->List() : nullptr;
}

} // namespace

int Dialog::ComboAddString(int id, const QString& text) {
    QWidget* widget = Item(id);
    const auto found =
        controls_ ? controls_->templates.find(id) : decltype(controls_->templates.end()){};
    const bool sorted =
        controls_ && found != controls_->templates.end() && Has(*found->second, kSorted);
    int at = ComboCount(id);
    if (sorted) {
        at = 0;
        while (at < ComboCount(id) &&
               ComboItemText(id, at).compare(text, Qt::CaseInsensitive) <= 0) {
            ++at;
        }
    }
    if (QComboBox* combo = AsCombo(widget)) {
        // An entry added is not a choice made: a list without a selection keeps none, and an
        // editable box keeps its typed text.
        const bool hadSelection = combo->currentIndex() >= 0;
        const QString typed = combo->currentText();
        combo->insertItem(at, text);
        if (!hadSelection) {
            combo->setCurrentIndex(-1);
            if (combo->isEditable()) {
                combo->setEditText(typed);
            }
        }
        return at;
    }
    if (QListWidget* list = AsSimpleList(widget)) {
        list->insertItem(at, text);
        return at;
    }
    return -1;
}

void Dialog::ComboDeleteString(int id, int index) {
    if (index < 0 || index >= ComboCount(id)) {
        return;
    }
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        combo->removeItem(index);
    } else if (QListWidget* list = AsSimpleList(widget)) {
        delete list->takeItem(index);
    }
}

void Dialog::ComboReset(int id) {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        combo->clear();
    } else if (QListWidget* list = AsSimpleList(widget)) {
        list->clear();
    }
}

int Dialog::ComboCount(int id) const {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        return combo->count();
    }
    if (QListWidget* list = AsSimpleList(widget)) {
        return list->count();
    }
    return 0;
}

QString Dialog::ComboItemText(int id, int index) const {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        return combo->itemText(index);
    }
    if (QListWidget* list = AsSimpleList(widget); list && list->item(index)) {
        return list->item(index)->text();
    }
    return {};
}

int Dialog::ComboFindStringExact(int id, const QString& text) const {
    for (int i = 0; i < ComboCount(id); ++i) {
        if (ComboItemText(id, i).compare(text, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int Dialog::ComboCurSel(int id) const {
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        return combo->currentIndex();
    }
    if (QListWidget* list = AsSimpleList(widget)) {
        return list->currentRow();
    }
    return -1;
}

void Dialog::ComboSetCurSel(int id, int index) {
    if (index < 0 || index >= ComboCount(id)) {
        index = -1;
    }
    QWidget* widget = Item(id);
    if (QComboBox* combo = AsCombo(widget)) {
        combo->setCurrentIndex(index);
    } else if (QListWidget* list = AsSimpleList(widget)) {
        list->setCurrentRow(index);
    }
}

void Dialog::SetSpinRange(int id, int low, int high) {
    if (!controls_) {
        return;
    }
    const auto found = controls_->spins.find(id);
    if (found != controls_->spins.end()) {
        found->second->SetRange(low, high);
    }
}

void Dialog::SetAccessibleName(int id, const QString& name) {
    accessibleNames_[id] = name;
    UpdateAccessibleName(id);
}

void Dialog::RefreshAccessibleNames() {
    if (!controls_) {
        return;
    }
    for (const auto& [id, widget] : controls_->byId) {
        UpdateAccessibleName(id);
    }
}

void Dialog::SetLanguage(Language language) {
    language_ = language;
    if (QWidget* window = Window()) {
        const LayerTexts& texts = TextsFor(language);
        for (SpinArrows* spin : window->findChildren<SpinArrows*>()) {
            spin->SetArrowNames(QString::fromUtf8(texts.spinUp), QString::fromUtf8(texts.spinDown));
        }
    }
}

void Dialog::UpdateAccessibleName(int id) {
    QWidget* widget = Item(id);
    if (widget == nullptr) {
        return;
    }
    QString name;
    if (const auto set = accessibleNames_.find(id); set != accessibleNames_.end()) {
        name = set->second;
    } else if (const ControlTemplate* control = controls_->templates[id]; control->buddy != 0) {
        // A spin or a field takes the name of what labels it.
        name = control->kind == ControlKind::Spin ? Item(control->buddy)->accessibleName()
                                                  : ItemText(control->buddy);
    } else if ((control->kind != ControlKind::Edit || Has(*control, kReadOnly)) &&
               control->kind != ControlKind::ComboBox) {
        name = ItemText(id); // a read-only field serves as a label: its text names it
    }
    // A box made of parts gives its name to the parts that take focus.
    widget->setAccessibleName(name.simplified());
    if (auto* simple = qobject_cast<SimpleCombo*>(widget)) {
        simple->SetAccessibleName(name.simplified());
    } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(name.simplified());
    }
    // What this control names (a field its label, a spin its field) follows.
    const auto [first, last] = controls_->named.equal_range(id);
    for (auto it = first; it != last; ++it) {
        UpdateAccessibleName(it->second);
    }
}

void Dialog::Click(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
        button->click();
    }
}

void Dialog::PressEscape() {
    if (QWidget* window = Window()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window, &press);
    }
}

void Dialog::CloseWindow() {
    if (QWidget* window = Window()) {
        window->close();
    }
}

} // namespace kfg::framework
