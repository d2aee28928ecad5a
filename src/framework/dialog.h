#pragma once

#include "framework/context_menu.h"
#include "framework/dialog_template.h"
#include "framework/layer_texts.h"
#include "framework/notification.h"

#include <QIcon>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QWidget;

namespace kfg::framework {

class DataExchange;
class DialogUnits;

// A modal dialog built from a template. The widgets exist only while DoModal runs; item
// operations on a dialog that is not running do nothing and read as empty.
//
// Commands: a click on id 1 runs OnOK, on id 2 OnCancel; Escape runs OnCancel; the close box
// runs OnClose. Everything else goes through the message map.
class Dialog {
public:
    explicit Dialog(const DialogTemplate& dialogTemplate);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Builds the window, runs OnInitDialog, then the modal loop unless the dialog was ended
    // during initialisation. Returns the end code.
    int DoModal();
    void EndDialog(int result);
    bool IsRunning() const;
    bool IsEnded() const { return ended_; }
    const DialogTemplate& Template() const { return template_; }

    // Runs DoDataExchange in one direction; false when a check failed (its message shown).
    bool UpdateData(bool saveAndValidate = true);

    // Item operations, by control id.
    QWidget* Item(int id) const;
    QWidget* Window() const;
    QString ItemText(int id) const;
    void SetItemText(int id, const QString& text);
    void SetItemInt(int id, int value);
    int CheckState(int id) const; // 0 clear, 1 checked
    void SetCheck(int id, int state);
    void ShowItem(int id, bool show);
    bool IsItemShown(int id) const; // the control's own visibility flag
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    void SetItemIcon(int id, const QIcon& icon);
    void SetFocusTo(int id, bool selectAll = false);
    void SetTitle(const QString& title);
    QString Title() const;

    // Combo boxes. Indices are 0-based; -1 means none.
    int ComboAddString(int id, const QString& text); // sorted combos insert in order
    void ComboDeleteString(int id, int index);
    void ComboReset(int id);
    int ComboCount(int id) const;
    QString ComboItemText(int id, int index) const;
    int ComboFindStringExact(int id, const QString& text) const; // case-insensitive
    int ComboCurSel(int id) const;
    void ComboSetCurSel(int id, int index);

    // Spin controls step their buddy field within [low, high].
    void SetSpinRange(int id, int low, int high);

    // Accessible names: a control's caption, or its label's text, unless set here.
    void SetAccessibleName(int id, const QString& name);
    void RefreshAccessibleNames();

    // The entries of the window's own menu, which the fields' edit menus also end with (see
    // AttachContextMenus); set again to change their words.
    void SetContextEntries(std::vector<ContextEntry> entries) {
        contextEntries_ = std::move(entries);
    }

    // Runs `work` once the window has painted for the first time (in the next turn of its event
    // loop): what the user does not see need not keep the window from showing.
    void AfterFirstPaint(std::function<void()> work) {
        afterFirstPaint_.push_back(std::move(work));
    }

    // The language of the layer's own texts (input check messages, spin arrow names).
    void SetLanguage(texts::TextLanguage language);
    texts::TextLanguage CurrentLanguage() const { return language_; }

    // Acts as the user would (tests, snapshots): clicks a button, presses Escape, closes.
    void Click(int id);
    void PressEscape();
    void CloseWindow();

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();
    // Enter outside a push button; by default the first shown default button, else OK.
    virtual void OnEnter();
    virtual void DoDataExchange(DataExchange& exchange);
    // While held, UpdateData exchanges nothing and succeeds: for a start that fills the record
    // in steps before the window shows, so that the controls take it once, complete. Reading
    // back controls nobody could have changed gives the record itself.
    void HoldExchange(bool hold) { exchangeHeld_ = hold; }

    using Handler = std::function<void()>;
    // One message map entry; later entries for the same pair replace earlier ones.
    void Map(Notification notification, int id, Handler handler);

private:
    friend class DataExchange;
    class ModalWindow;
    struct Controls;

    void Build();
    // The window painted: the work waiting for it is queued, once.
    void Painted();
    QWidget* CreateControl(const ControlTemplate& control, const DialogUnits& units);
    void Teardown();
    void Dispatch(Notification notification, int id);
    void PressDefault();
    void FocusFirstTabStop();
    void ApplyCaption(int id, const QString& text);
    // Fits the captions that waited for their controls, of those that can be seen now.
    void FitSeenCaptions();
    void UpdateAccessibleName(int id);

    const DialogTemplate& template_;
    QString title_;
    std::map<std::pair<Notification, int>, Handler> messageMap_;
    std::map<int, QString> accessibleNames_;
    std::vector<ContextEntry> contextEntries_;
    std::vector<std::function<void()>> afterFirstPaint_;
    texts::TextLanguage language_ = texts::TextLanguage::German;
    std::unique_ptr<Controls> controls_;
    int result_ = 0;
    bool ended_ = false;
    bool exchanging_ = false;
    bool exchangeHeld_ = false;
    std::function<void()> quitLoop_;
};

} // namespace kfg::framework
