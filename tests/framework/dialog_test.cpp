// The dialog layer on a small dialog of its own: exchange in both directions, notifications,
// modality and the ways a dialog ends, and the controls' own behaviour.
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/dialog_units.h"
#include "framework/message_box.h"
#include "support/modal_script.h"
#include "support/typing.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kfg::framework {
namespace {

using test::ModalScript;

enum : int {
    kPlain = 100,
    kSmall = 103,
    kBox = 104,
    kList = 105,
    kSortedEditable = 106,
    kDigits = 109,
    kPositions = 110,
    kFirstRadio = 111,
    kSecondRadio = 112,
    kListLabel = 113,
};

constexpr std::array<ControlTemplate, 12> kControls{{
    {kPlain, ControlKind::Edit, "", {5, 5, 40, 12}},
    {kSmall, ControlKind::Edit, "", {5, 35, 40, 12}},
    {kBox, ControlKind::CheckBox, "Kasten", {5, 50, 60, 10}},
    {kListLabel, ControlKind::Label, "Sender", {125, 40, 40, 8}},
    {kList, ControlKind::ComboBox, "", {60, 5, 60, 60}, kNone, kListLabel},
    {kSortedEditable, ControlKind::ComboBox, "", {60, 20, 60, 60}, kSorted | kEditable},
    {kDigits, ControlKind::Edit, "", {5, 65, 40, 12}, kDigitsOnly},
    {kPositions, ControlKind::ComboBox, "", {60, 50, 60, 60}},
    {kFirstRadio, ControlKind::RadioButton, "Eins", {5, 80, 40, 10}, kGroupStart},
    {kSecondRadio, ControlKind::RadioButton, "Zwei", {50, 80, 40, 10}},
    {IDOK, ControlKind::PushButton, "OK", {130, 5, 40, 14}, kDefaultButton},
    {IDCANCEL, ControlKind::PushButton, "Abbrechen", {130, 22, 40, 14}},
}};
constexpr DialogTemplate kTemplate{900, "Probe", 180, 90, kControls};

class ProbeDialog : public Dialog {
public:
    ProbeDialog()
        : Dialog(kTemplate) {
        Map(Notification::EditChange, kPlain, [this] { ++plainChanges; });
    }

    int plain = -5;
    int small = 2;
    int box = 0;
    std::string listText;
    std::string editableText;
    int position = -1;
    int plainChanges = 0;
    std::function<void(ProbeDialog&)> onInit;

    using Dialog::Map;

protected:
    bool OnInitDialog() override {
        for (const char* entry : {"alpha", "Beta one", "beta two"}) {
            ComboAddString(kList, QString::fromUtf8(entry));
        }
        for (const char* entry : {"x", "y", "z"}) {
            ComboAddString(kPositions, QString::fromUtf8(entry));
        }
        Dialog::OnInitDialog();
        if (onInit) {
            onInit(*this);
        }
        return true;
    }

    void DoDataExchange(DataExchange& dx) override {
        dx.Integer(kPlain, plain);
        dx.Integer(kSmall, small, 0, 10);
        dx.Check(kBox, box);
        dx.ListText(kList, listText);
        dx.ListText(kSortedEditable, editableText);
        dx.ListPosition(kPositions, position);
    }
};

// Runs the dialog and `body` while it is up (given what came up so far); the dialog is ended
// afterwards if still open.
template <class Body>
int RunWhileUp(Dialog& dialog, Body body) {
    ModalScript* seen = nullptr;
    ModalScript script([&](Dialog&) { body(*seen); });
    seen = &script;
    return dialog.DoModal();
}

TEST(DialogExchange, RecordToControls) {
    ProbeDialog d;
    d.box = 5;
    d.listText = "BETA ONE";
    d.editableText = "zzz";
    d.position = 7;
    RunWhileUp(d, [&](ModalScript&) {
        EXPECT_EQ(d.ItemText(kPlain), "-5");
        EXPECT_EQ(d.CheckState(kBox), 0);
        EXPECT_EQ(d.box, 0);                // outside 0..2: shown clear and cleared
        EXPECT_EQ(d.ComboCurSel(kList), 1); // the entry equal to it, any case
        EXPECT_EQ(d.ItemText(kSortedEditable), "zzz");
        EXPECT_EQ(d.ComboCurSel(kPositions), -1);

        d.box = 2;
        d.position = 2;
        d.plain = 77;
        d.UpdateData(false);
        EXPECT_EQ(d.CheckState(kBox), 1);
        EXPECT_EQ(d.ComboCurSel(kPositions), 2);

        // Only an equal entry is chosen: a text that merely begins an entry, or none, leaves
        // the list without a selection.
        for (const char* text : {"beta", "", "Beta one and more"}) {
            d.listText = "Beta one";
            d.UpdateData(false);
            d.listText = text;
            d.UpdateData(false);
            EXPECT_EQ(d.ComboCurSel(kList), -1) << text;
            EXPECT_EQ(d.ItemText(kList), "") << text;
        }

        // The exchange raises no notification; a program's change outside it does, as typing.
        EXPECT_EQ(d.plainChanges, 0);
        d.SetItemText(kPlain, "78");
        EXPECT_EQ(d.plainChanges, 1);
    });
}

TEST(DialogExchange, IntegerInputIsCheckedNotClamped) {
    // The parse itself is the platform's; these rows are what the exchange makes of it.
    struct Case {
        const char* typed;
        std::optional<int> taken; // none: refused with a message, the field's value kept
    };
    const Case cases[] = {{.typed = " 42 ", .taken = 42},
                          {.typed = "-7", .taken = -7},
                          {.typed = "12a", .taken = std::nullopt},
                          {.typed = "99999999999", .taken = std::nullopt}};
    for (const Case& c : cases) {
        ProbeDialog d;
        d.plain = 11;
        RunWhileUp(d, [&](ModalScript& script) {
            d.SetItemText(kPlain, QString::fromUtf8(c.typed));
            EXPECT_EQ(d.UpdateData(true), c.taken.has_value()) << c.typed;
            EXPECT_EQ(d.plain, c.taken.value_or(11)) << c.typed;
            EXPECT_EQ(script.Messages().size(), c.taken ? 0u : 1u) << c.typed;
        });
    }
}

TEST(DialogModality, EndingDuringInitialisationSkipsTheLoop) {
    ProbeDialog d;
    d.onInit = [](ProbeDialog& self) { self.EndDialog(IDOK); };
    ModalScript script;
    EXPECT_EQ(d.DoModal(), IDOK);
    EXPECT_TRUE(script.Seen().empty()); // never became modal
    EXPECT_FALSE(d.IsRunning());
}

TEST(DialogModality, ExitPaths) {
    const auto ok = [](Dialog& d) { d.Click(IDOK); };
    const auto enter = [](Dialog& d) { test::PressKey(d.Window(), Qt::Key_Return); };
    const auto escape = [](Dialog& d) { d.PressEscape(); };
    const auto closeBox = [](Dialog& d) { d.CloseWindow(); };
    struct Case {
        const char* what;
        void (*act)(Dialog&);
        bool validInput;
        bool ends; // else one message, and the dialog stays
        int code;  // the end code
    };
    const Case cases[] = {
        {.what = "OK", .act = ok, .validInput = true, .ends = true, .code = IDOK},
        {.what = "OK, invalid", .act = ok, .validInput = false, .ends = false, .code = IDCANCEL},
        {.what = "Enter", .act = enter, .validInput = false, .ends = false, .code = IDCANCEL},
        {.what = "Escape", .act = escape, .validInput = false, .ends = true, .code = IDCANCEL},
        {.what = "close box", .act = closeBox, .validInput = false, .ends = true, .code = IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeDialog d;
        bool ended = false;
        const int result = RunWhileUp(d, [&](ModalScript& script) {
            d.SetItemText(kSmall, c.validInput ? "3" : "30");
            c.act(d);
            ended = d.IsEnded();
            EXPECT_EQ(script.Messages().size(), c.ends ? 0u : 1u);
        });
        EXPECT_EQ(result, c.code);
        EXPECT_EQ(ended, c.ends);
    }
}

TEST(DialogControls, DigitsOnlyFieldDropsTypedLettersButShowsNegatives) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        test::TypeInto(d.Item(kDigits), "1a-2");
        EXPECT_EQ(d.ItemText(kDigits), "12");
        d.SetItemText(kDigits, "-40");
        EXPECT_EQ(d.ItemText(kDigits), "-40");
    });
}

TEST(DialogControls, SortedCombosOrderIgnoringCaseAndFindExactly) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        EXPECT_EQ(d.ComboCurSel(kList), -1); // entries added are no choice made
        for (const char* entry : {"beta", "Alpha", "gamma", "BETA2"}) {
            d.ComboAddString(kSortedEditable, QString::fromUtf8(entry));
        }
        QStringList order;
        for (int i = 0; i < d.ComboCount(kSortedEditable); ++i) {
            order << d.ComboItemText(kSortedEditable, i);
        }
        EXPECT_EQ(order, (QStringList{"Alpha", "beta", "BETA2", "gamma"}));
        EXPECT_EQ(d.ComboFindStringExact(kSortedEditable, "GAMMA"), 3);
        EXPECT_EQ(d.ComboFindStringExact(kSortedEditable, "bet"), -1);
        EXPECT_EQ(d.ComboFindStringExact(kList, "ALPHA"), 0); // unsorted: order of adding
        d.ComboDeleteString(kList, -1);                       // nothing to remove
        EXPECT_EQ(d.ComboCount(kList), 3);
    });
}

// Entries a program adds are no choice of the user's: the text typed stays, also when the
// first entry goes into an empty list (Qt would select that one).
TEST(DialogControls, EditableListKeepsTypedTextWhileEntriesAreAdded) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        test::TypeInto(d.Item(kSortedEditable), "zu");
        ASSERT_EQ(d.ItemText(kSortedEditable), "zu");
        for (const char* entry : {"delta", "alpha", "omega"}) {
            d.ComboAddString(kSortedEditable, QString::fromUtf8(entry));
            EXPECT_EQ(d.ItemText(kSortedEditable), "zu") << entry;
            EXPECT_EQ(d.ComboCurSel(kSortedEditable), -1) << entry;
        }
    });
}

TEST(DialogControls, OnlyAnOpenListReportsClosingUp) {
    ProbeDialog d;
    int closeUps = 0;
    d.Map(Notification::ComboCloseUp, kList, [&] { ++closeUps; });
    RunWhileUp(d, [&](ModalScript&) {
        auto* combo = qobject_cast<QComboBox*>(d.Item(kList));
        d.ShowItem(kList, false); // hiding the box is no closing of its list
        d.ShowItem(kList, true);
        EXPECT_EQ(closeUps, 0);
        combo->showPopup();
        combo->hidePopup();
        EXPECT_EQ(closeUps, 1);
    });
    EXPECT_EQ(closeUps, 1); // tearing the window down raises nothing either
}

// A screen reader's Toggle on a box is a click: the mark changes as a click changes it and
// the click is reported. Qt's own Toggle changes the mark silently.
TEST(DialogControls, AccessibleToggleIsAClick) {
    ProbeDialog d;
    std::vector<int> clicks;
    for (const int id : {kBox, kFirstRadio, kSecondRadio}) {
        d.Map(Notification::Clicked, id, [&clicks, id] { clicks.push_back(id); });
    }
    RunWhileUp(d, [&](ModalScript&) {
        // What a screen reader offers on the box, and its Toggle.
        const auto offered = [&](int id) {
            return QAccessible::queryAccessibleInterface(d.Item(id))->actionInterface();
        };
        const QString toggleAction = QAccessibleActionInterface::toggleAction();
        const auto toggle = [&](int id) { offered(id)->doAction(toggleAction); };
        ASSERT_TRUE(offered(kBox)->actionNames().contains(toggleAction));
        toggle(kBox);
        EXPECT_EQ(d.CheckState(kBox), 1);
        toggle(kBox);
        EXPECT_EQ(d.CheckState(kBox), 0);
        d.SetCheck(kFirstRadio, 1);
        toggle(kSecondRadio);
        EXPECT_EQ(d.CheckState(kFirstRadio), 0); // exclusive, as a click makes it
        EXPECT_EQ(d.CheckState(kSecondRadio), 1);
        EXPECT_EQ(clicks, (std::vector<int>{kBox, kBox, kSecondRadio}));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(d.Item(kSecondRadio))->role(),
                  QAccessible::RadioButton);
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(d.Item(kBox))->state().checkable);

        d.EnableItem(kBox, false); // a disabled box offers no Toggle and ignores it
        EXPECT_FALSE(offered(kBox)->actionNames().contains(toggleAction));
        toggle(kBox);
        EXPECT_EQ(d.CheckState(kBox), 0);
        EXPECT_EQ(clicks.size(), 3u);
    });
}

// A drop-down list is heard with its label and the entry it shows (a screen reader on Linux
// finds the entry nowhere else), and its value is the entry's position, so that a change of
// entry is told as a change of value. A list without a label says its entry; an editable one
// its label, its field saying the text. Role, the popup, the field and the opening action
// stay as Qt gives them.
TEST(DialogControls, DropDownListIsHeardWithItsLabelAndEntry) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        auto* combo = qobject_cast<QComboBox*>(d.Item(kList));
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(combo);
        struct Shown {
            int entry;
            const char* name;
        };
        for (const Shown& shown :
             {Shown{.entry = -1, .name = "Sender"}, Shown{.entry = 0, .name = "Sender, alpha"},
              Shown{.entry = 2, .name = "Sender, beta two"}}) {
            d.ComboSetCurSel(kList, shown.entry);
            EXPECT_EQ(list->text(QAccessible::Name), shown.name);
            EXPECT_EQ(list->valueInterface()->currentValue(), shown.entry);
        }
        EXPECT_EQ(list->valueInterface()->maximumValue(), 2);
        EXPECT_EQ(list->text(QAccessible::Value), "beta two");
        EXPECT_EQ(list->role(), QAccessible::ComboBox);
        d.SetItemText(kListLabel, "Kanal");
        EXPECT_EQ(list->text(QAccessible::Name), "Kanal, beta two");

        // A value set from outside is a choice, reported as one.
        int chosen = 0;
        d.Map(Notification::ComboSelChange, kList, [&] { ++chosen; });
        list->valueInterface()->setCurrentValue(1);
        EXPECT_EQ(d.ItemText(kList), "Beta one");
        EXPECT_EQ(chosen, 1);
        list->valueInterface()->setCurrentValue(3); // no such entry
        EXPECT_EQ(d.ItemText(kList), "Beta one");
        EXPECT_EQ(chosen, 1);

        ASSERT_EQ(list->childCount(), 1);
        EXPECT_EQ(list->child(0)->object(), combo->view());
        list->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        EXPECT_TRUE(combo->view()->isVisible());
        list->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_FALSE(combo->view()->isVisible());

        d.ComboSetCurSel(kPositions, 1);
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(d.Item(kPositions))->text(QAccessible::Name),
            "y");

        auto* editable = qobject_cast<QComboBox*>(d.Item(kSortedEditable));
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(editable);
        test::TypeInto(editable, "zu");
        EXPECT_EQ(field->text(QAccessible::Value), "zu");
        d.SetAccessibleName(kSortedEditable, "Liste");
        EXPECT_EQ(field->text(QAccessible::Name), "Liste");
        ASSERT_EQ(field->childCount(), 2);
        EXPECT_EQ(field->indexOfChild(field->child(1)), 1);
        EXPECT_EQ(field->child(1)->object(), editable->lineEdit());
        EXPECT_EQ(field->child(1)->text(QAccessible::Name), "Liste");
    });
}

// A field reads as one run of text, so that a screen reader reading run by run hears all of it
// (Qt's own runs are empty, and "16" was heard as "1"); what assistive technology writes into
// it arrives as typing does, and a read-only field refuses it.
TEST(DialogControls, FieldTextIsOneRunAndEditsArriveAsTyping) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        const int changesBefore = d.plainChanges;
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(d.Item(kPlain));
        QAccessibleTextInterface* text = field->textInterface();
        ASSERT_NE(text, nullptr);
        d.SetItemText(kPlain, "128");
        for (const int offset : {0, 2}) {
            int start = -1;
            int end = -1;
            text->attributes(offset, &start, &end);
            EXPECT_EQ(start, 0) << offset;
            EXPECT_EQ(end, 3) << offset;
        }
        EXPECT_EQ(text->text(1, 3), "28");
        field->editableTextInterface()->replaceText(1, 2, "4");
        EXPECT_EQ(d.ItemText(kPlain), "148");
        EXPECT_EQ(d.plainChanges, changesBefore + 2);
        text->setSelection(0, 1, 3);
        int start = -1;
        int end = -1;
        text->selection(0, &start, &end);
        EXPECT_EQ(start, 1);
        EXPECT_EQ(end, 3);
        EXPECT_EQ(text->selectionCount(), 1);

        auto* edit = qobject_cast<QLineEdit*>(d.Item(kPlain));
        edit->setReadOnly(true);
        field->editableTextInterface()->insertText(0, "9");
        EXPECT_EQ(edit->text(), "148");
        EXPECT_TRUE(field->state().readOnly);
        EXPECT_FALSE(field->state().editable);
    });
}

// Enter presses the focused push button, not the default one, in a dialog and in the yes/no
// question, whose default is "no".
TEST(DialogKeys, EnterPressesTheFocusedButton) {
    ProbeDialog d;
    const int result = RunWhileUp(d, [&](ModalScript&) {
        d.SetFocusTo(IDCANCEL);
        test::PressKey(d.Item(IDCANCEL), Qt::Key_Return);
    });
    EXPECT_EQ(result, IDCANCEL);

    struct Case {
        const char* focused;
        int answer;
    };
    for (const Case& c :
         {Case{.focused = "Ja", .answer = IDYES}, Case{.focused = "Nein", .answer = IDNO}}) {
        framework::ScopedModalHook hook([&](ModalView& view) {
            for (auto* button : view.Widget()->findChildren<QPushButton*>()) {
                if (button->text() == QString::fromUtf8(c.focused)) {
                    button->setFocus();
                    test::PressKey(button, Qt::Key_Return);
                }
            }
        });
        EXPECT_EQ(MessageBoxYesNo(nullptr, "Sicher?", "KFG", "Ja", "Nein"), c.answer) << c.focused;
    }
}

TEST(DialogControls, SizeFollowsDialogUnitsAndFocusStartsAtTheFirstStop) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        const DialogUnits units(QApplication::font());
        EXPECT_EQ(d.Window()->width(), units.X(180));
        EXPECT_EQ(d.Window()->height(), units.Y(90));
        EXPECT_EQ(d.Window()->focusWidget(), d.Item(kPlain));
    });
}

} // namespace
} // namespace kfg::framework
