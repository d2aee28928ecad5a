// The dialog layer on a small dialog of its own: exchange in both directions, the failure
// order and focus, notifications, modality and the ways a dialog ends.
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/dialog_units.h"
#include "framework/message_box.h"
#include "support/modal_script.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kfg::framework {
namespace {

using test::ModalScript;

enum : int {
    kPlain = 100,
    kRanged = 101,
    kSpin = 102,
    kSmall = 103,
    kBox = 104,
    kList = 105,
    kSortedEditable = 106,
    kNameLabel = 107,
    kNamed = 108,
    kDigits = 109,
    kPositions = 110,
    kFirstRadio = 111,
    kSecondRadio = 112,
};

constexpr std::array<ControlTemplate, 15> kControls{{
    {kPlain, ControlKind::Edit, "", {5, 5, 40, 12}},
    {kRanged, ControlKind::Edit, "", {5, 20, 40, 12}},
    {kSpin, ControlKind::Spin, "", {}, kSpinWraps, kRanged},
    {kSmall, ControlKind::Edit, "", {5, 35, 40, 12}},
    {kBox, ControlKind::CheckBox, "Kasten", {5, 50, 60, 10}},
    {kList, ControlKind::ComboBox, "", {60, 5, 60, 60}},
    {kSortedEditable, ControlKind::ComboBox, "", {60, 20, 60, 60}, kSorted | kEditable},
    {kNameLabel, ControlKind::Label, "Name:", {60, 35, 25, 10}},
    {kNamed, ControlKind::Edit, "", {85, 35, 35, 12}, kNone, kNameLabel},
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
    int ranged = 1;
    int small = 2;
    int box = 0;
    std::string listText;
    std::string editableText;
    int position = -1;
    int plainChanges = 0;
    std::function<void(ProbeDialog&)> onInit;

    void MapForTest(Notification notification, int id, Handler handler) {
        Map(notification, id, std::move(handler));
    }

protected:
    bool OnInitDialog() override {
        for (const char* entry : {"alpha", "Beta one", "beta two"}) {
            ComboAddString(kList, QString::fromUtf8(entry));
        }
        for (const char* entry : {"x", "y", "z"}) {
            ComboAddString(kPositions, QString::fromUtf8(entry));
        }
        SetSpinRange(kSpin, 8, 99);
        Dialog::OnInitDialog();
        if (onInit) {
            onInit(*this);
        }
        return true;
    }

    void DoDataExchange(DataExchange& dx) override {
        dx.Integer(kPlain, plain);
        dx.Integer(kRanged, ranged, 0, 99);
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
    ModalScript script([&](Dialog& running) {
        if (&running == &dialog) {
            body(*seen);
        }
    });
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
    });
}

// The checks speak German until the dialog is given another language.
TEST(DialogExchange, MessagesSpeakTheLanguageGiven) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript& script) {
        d.SetItemText(kRanged, "100");
        d.UpdateData(true);
        d.SetLanguage(Language::Spanish);
        d.UpdateData(true);
        d.SetItemText(kRanged, "x");
        d.UpdateData(true);
        EXPECT_EQ(script.MessageTexts(),
                  (std::vector<QString>{"Bitte eine ganze Zahl zwischen 0 und 99 eingeben.",
                                        "Introduzca un número entero entre 0 y 99.",
                                        "Introduzca un número entero."}));
    });
}

struct IntegerCase {
    const char* text;
    bool accepted;
    int value;
};

TEST(DialogExchange, IntegerInputIsCheckedNotClamped) {
    const IntegerCase cases[] = {
        {" 42 ", true, 42}, {"-7", true, -7},          {"+3", true, 3},
        {"", false, 0},     {"4 2", false, 0},         {"12a", false, 0},
        {"-", false, 0},    {"99999999999", false, 0}, {"-2147483648", true, -2147483648},
    };
    for (const IntegerCase& c : cases) {
        ProbeDialog d;
        d.plain = 11;
        RunWhileUp(d, [&](ModalScript& script) {
            d.SetItemText(kPlain, QString::fromUtf8(c.text));
            EXPECT_EQ(d.UpdateData(true), c.accepted) << c.text;
            EXPECT_EQ(d.plain, c.accepted ? c.value : 11) << c.text;
            EXPECT_EQ(script.MessageTexts().size(), c.accepted ? 0u : 1u) << c.text;
        });
    }
}

TEST(DialogExchange, FirstFailureStopsAndSelectsTheField) {
    ProbeDialog d;
    d.small = 4;
    d.box = 0;
    RunWhileUp(d, [&](ModalScript& script) {
        d.SetItemText(kPlain, "1");
        d.SetItemText(kRanged, "100");
        d.SetItemText(kSmall, "abc");
        d.SetCheck(kBox, 1);

        EXPECT_FALSE(d.UpdateData(true));

        EXPECT_EQ(d.plain, 1);    // before the failing row: taken
        EXPECT_EQ(d.ranged, 100); // the failing row keeps the value it read
        EXPECT_EQ(d.small, 4);    // after it: untouched
        EXPECT_EQ(d.box, 0);
        ASSERT_EQ(script.Seen().size(), 2u); // the dialog, then one message
        EXPECT_TRUE(script.Seen()[1].text.contains("0 und 99"));
        EXPECT_EQ(script.Seen()[1].icon, MessageIcon::Warning);
        auto* field = qobject_cast<QLineEdit*>(d.Item(kRanged));
        EXPECT_EQ(d.Window()->focusWidget(), field);
        EXPECT_EQ(field->selectedText(), "100");
    });
}

TEST(DialogExchange, NoNotificationsWhileExchanging) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        d.plainChanges = 0;
        d.plain = 77;
        d.UpdateData(false);
        EXPECT_EQ(d.ItemText(kPlain), "77");
        EXPECT_EQ(d.plainChanges, 0);
        d.SetItemText(kPlain, "78"); // outside an exchange: like typing
        EXPECT_EQ(d.plainChanges, 1);
    });
}

TEST(DialogModality, EndingDuringInitialisationSkipsTheLoop) {
    ProbeDialog d;
    bool restOfInitRan = false;
    d.onInit = [&](ProbeDialog& self) {
        self.EndDialog(IDOK);
        restOfInitRan = true;
    };
    ModalScript script;
    EXPECT_EQ(d.DoModal(), IDOK);
    EXPECT_TRUE(restOfInitRan);
    EXPECT_TRUE(script.Seen().empty()); // never became modal
    EXPECT_FALSE(d.IsRunning());
}

enum class Exit { ClickOk, PressEscape, CloseBox, PressEnter };
struct ExitCase {
    Exit exit;
    bool validInput;
    bool ends;
    int result;
    std::size_t messages;
};

TEST(DialogModality, ExitPaths) {
    const ExitCase cases[] = {
        {Exit::ClickOk, true, true, IDOK, 0},       {Exit::ClickOk, false, false, 0, 1},
        {Exit::PressEnter, false, false, 0, 1},     {Exit::PressEscape, false, true, IDCANCEL, 0},
        {Exit::CloseBox, false, true, IDCANCEL, 0},
    };
    for (const ExitCase& c : cases) {
        ProbeDialog d;
        bool endedByAction = false;
        const int result = RunWhileUp(d, [&](ModalScript& script) {
            d.SetItemText(kSmall, c.validInput ? "3" : "30");
            switch (c.exit) {
            case Exit::ClickOk:
                d.Click(IDOK);
                break;
            case Exit::PressEscape:
                d.PressEscape();
                break;
            case Exit::CloseBox:
                d.CloseWindow();
                break;
            case Exit::PressEnter: {
                QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(d.Window(), &enter);
                break;
            }
            }
            endedByAction = d.IsEnded();
            EXPECT_EQ(script.MessageTexts().size(), c.messages);
        });
        EXPECT_EQ(endedByAction, c.ends) << static_cast<int>(c.exit);
        if (c.ends) {
            EXPECT_EQ(result, c.result);
        }
    }
}

TEST(DialogControls, SpinReachesItsLimitsThenWrapsAndFollowsArrowKeys) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        auto* field = d.Item(kRanged);
        QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        d.SetItemText(kRanged, "98");
        QApplication::sendEvent(field, &up);
        EXPECT_EQ(d.ItemText(kRanged), "99");
        QApplication::sendEvent(field, &up);
        EXPECT_EQ(d.ItemText(kRanged), "8");
        d.SetItemText(kRanged, "9");
        QApplication::sendEvent(field, &down);
        EXPECT_EQ(d.ItemText(kRanged), "8");
        QApplication::sendEvent(field, &down);
        EXPECT_EQ(d.ItemText(kRanged), "99");
        d.SetItemText(kRanged, "150"); // typed beyond the limits: not clamped by the field
        EXPECT_EQ(d.ItemText(kRanged), "150");
    });
}

TEST(DialogControls, DigitsOnlyFieldDropsTypedLettersButShowsNegatives) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        QWidget* field = d.Item(kDigits);
        field->setFocus();
        for (const QString& typed : {QString("1"), QString("a"), QString("-"), QString("2")}) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, typed);
            QApplication::sendEvent(field, &key);
        }
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
        QLineEdit* edit = qobject_cast<QComboBox*>(d.Item(kSortedEditable))->lineEdit();
        edit->setFocus();
        for (const char* typed : {"z", "u"}) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(typed));
            QApplication::sendEvent(edit, &key);
        }
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
    d.MapForTest(Notification::ComboCloseUp, kList, [&] { ++closeUps; });
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

QStringList ChildNames(QWidget* widget) {
    QStringList names;
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    for (int i = 0; i < node->childCount(); ++i) {
        names << node->child(i)->text(QAccessible::Name);
    }
    return names;
}

TEST(DialogControls, AccessibleNamesFollowShownTextsAndLanguage) {
    ProbeDialog d;
    RunWhileUp(d, [&](ModalScript&) {
        EXPECT_EQ(d.Item(kBox)->accessibleName(), "Kasten");
        EXPECT_EQ(d.Item(kNamed)->accessibleName(), "Name:");
        d.SetItemText(kNameLabel, "Nombre:");
        EXPECT_EQ(d.Item(kNamed)->accessibleName(), "Nombre:");
        d.SetAccessibleName(kRanged, "Testzeilen");
        EXPECT_EQ(d.Item(kSpin)->accessibleName(), "Testzeilen"); // a spin follows its field
        EXPECT_EQ(ChildNames(d.Item(kSpin)), QStringList({"Höher", "Niedriger"}));
        d.SetLanguage(Language::Spanish);
        EXPECT_EQ(ChildNames(d.Item(kSpin)), QStringList({"Subir", "Bajar"}));
    });
}

// A screen reader's Toggle on a box is a click: the mark changes as a click changes it and
// the click is reported. Qt's own Toggle changes the mark silently.
TEST(DialogControls, AccessibleToggleIsAClick) {
    ProbeDialog d;
    std::vector<int> clicks;
    for (const int id : {kBox, kFirstRadio, kSecondRadio}) {
        d.MapForTest(Notification::Clicked, id, [&clicks, id] { clicks.push_back(id); });
    }
    RunWhileUp(d, [&](ModalScript&) {
        const auto toggle = [&](int id) {
            QAccessibleActionInterface* actions =
                QAccessible::queryAccessibleInterface(d.Item(id))->actionInterface();
            ASSERT_NE(actions, nullptr);
            ASSERT_TRUE(
                actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
            actions->doAction(QAccessibleActionInterface::toggleAction());
        };
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
        QAccessibleActionInterface* actions =
            QAccessible::queryAccessibleInterface(d.Item(kBox))->actionInterface();
        EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        actions->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(d.CheckState(kBox), 0);
        EXPECT_EQ(clicks.size(), 3u);
    });
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
