// Template 102 against the control list the dialog must carry: kinds, captions with their
// blanks, template visibility and styles.
#include "res/template_102.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace kfg::res {
namespace {

using framework::ControlKind;
using framework::ControlTemplate;

std::map<int, const ControlTemplate*> ById() {
    std::map<int, const ControlTemplate*> byId;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.id != framework::kNoId) {
            EXPECT_TRUE(byId.emplace(control.id, &control).second) << "duplicate " << control.id;
        }
    }
    return byId;
}

struct Expected {
    int id;
    ControlKind kind;
    const char* caption;
};

TEST(MainTemplate, CarriesEveryCaptionedControl) {
    const Expected expected[] = {
        {1097, ControlKind::GroupBox, "Dekodierung"},
        {1166, ControlKind::Label, "IDX-Files"},
        {1044, ControlKind::PushButton, "4:3"},
        {1045, ControlKind::PushButton, "16:9"},
        {1046, ControlKind::PushButton, "20:9"},
        {1102, ControlKind::CheckBox, "PALplus"},
        {1103, ControlKind::CheckBox, "Schwarze Zeilen"},
        {1104, ControlKind::CheckBox, "Austastlücke"},
        {1109, ControlKind::Label, "Erste Zeile"},
        {1110, ControlKind::Label, "Letzte Zeile"},
        {1161, ControlKind::CheckBox, "Vordergrund"},
        {1162, ControlKind::CheckBox, "Randautomatik"},
        {1163, ControlKind::CheckBox, "Proportional"},
        {1094, ControlKind::CheckBox, "Turbo"},
        {1092, ControlKind::GroupBox, "Hardware"},
        {1016, ControlKind::CheckBox, "PLL initialisieren"},
        {1101, ControlKind::CheckBox, "Bt8xx"},
        {1120, ControlKind::CheckBox, "Line-In aktivieren"},
        {1093, ControlKind::GroupBox, "Programme"},
        {1157, ControlKind::GroupBox, "Video"},
        {1013, ControlKind::CheckBox, "HohePriorität"},
        {1014, ControlKind::CheckBox, "Status"},
        {1105, ControlKind::CheckBox, "Statistik"},
        {1015, ControlKind::CheckBox, "SECAM"},
        {1017, ControlKind::CheckBox, "LOG-File"},
        {1158, ControlKind::GroupBox, "Bildoptionen"},
        {1069, ControlKind::PushButton, "Bilddefault"},
        {1129, ControlKind::CheckBox, "Loudness"},
        {1128, ControlKind::CheckBox, "Spartial"},
        {1160, ControlKind::Label, "Acceleration"},
        {1067, ControlKind::CheckBox, "Sound initialisieren"},
        {1068, ControlKind::CheckBox, "Line-In aktivieren"},
        {1059, ControlKind::CheckBox, "MUTE"},
        {1112, ControlKind::RadioButton, "2.83"},
        {1127, ControlKind::CheckBox, "Return"},
        {1164, ControlKind::PushButton, "Hilfe"},
        {1002, ControlKind::PushButton, "Telvio.ini"},
        {1003, ControlKind::PushButton, " Defaultwerte"},
        {1121, ControlKind::Label, ""},
        {1153, ControlKind::GroupBox, "Konfigurationen"},
        {1005, ControlKind::PushButton, "Anzeigen"},
        {1004, ControlKind::PushButton, "Speichern"},
        {1115, ControlKind::PushButton, "Löschen"},
        {1001, ControlKind::PushButton, "Button2"},
        {1167, ControlKind::PushButton, "Audiodecoder"},
        {1, ControlKind::PushButton, "Beenden"},
    };
    const auto byId = ById();
    for (const Expected& e : expected) {
        const auto found = byId.find(e.id);
        ASSERT_NE(found, byId.end()) << e.id;
        EXPECT_EQ(found->second->kind, e.kind) << e.id;
        EXPECT_EQ(found->second->caption, e.caption) << e.id;
    }
}

TEST(MainTemplate, SizeVisibilityAndStyles) {
    const framework::DialogTemplate& dialog = MainDialogTemplate();
    EXPECT_EQ(dialog.width, 432);
    EXPECT_EQ(dialog.height, 226);
    EXPECT_EQ(dialog.controls.front().id, kIdShowConfiguration); // first in tab order

    std::set<int> hidden;
    std::set<int> defaults;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.styles & framework::kHidden) {
            hidden.insert(control.id);
        }
        if (control.styles & framework::kDefaultButton) {
            defaults.insert(control.id);
        }
        const framework::DlgRect& r = control.rect;
        if (control.kind != ControlKind::Spin) { // spins sit inside their field
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= 432 && r.y + r.height <= 226)
                << control.id << " " << control.caption;
        }
    }
    EXPECT_EQ(hidden, (std::set<int>{1059, 1084, 1094, 1095, 1096, 1098, 1112, 1127, 1164}));
    EXPECT_EQ(defaults, (std::set<int>{1, 1004}));

    const auto byId = ById();
    for (const int sortedEditable : {1116, 1117, 1118}) {
        EXPECT_EQ(byId.at(sortedEditable)->styles & (framework::kSorted | framework::kEditable),
                  framework::kSorted | framework::kEditable);
    }
    for (const int list : {1012, 1040, 1070, 1071, 1099, 1100}) {
        EXPECT_EQ(byId.at(list)->styles &
                      (framework::kSorted | framework::kEditable | framework::kSimpleCombo),
                  0u)
            << list;
    }
    EXPECT_TRUE(byId.at(kIdConfigurationField)->styles & framework::kSimpleCombo);
    for (const int labelField : {1078, 1079, 1080, 1081, 1082, 1098}) {
        EXPECT_EQ(byId.at(labelField)->kind, ControlKind::Edit);
        EXPECT_TRUE(byId.at(labelField)->styles & framework::kReadOnly) << labelField;
        EXPECT_EQ(byId.at(labelField)->caption, "");
    }
}

TEST(MainTemplate, FortyDigitFieldsEachWithItsNumber) {
    const auto byId = ById();
    std::set<std::string> numberLabels;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.kind == ControlKind::Label && control.id == framework::kNoId) {
            numberLabels.insert(std::string(control.caption));
        }
    }
    for (int slot = 0; slot < kMemorySlotCount; ++slot) {
        const ControlTemplate& field = *byId.at(kMemorySlotIds[static_cast<std::size_t>(slot)]);
        EXPECT_EQ(field.kind, ControlKind::Edit) << slot;
        EXPECT_TRUE(field.styles & framework::kDigitsOnly) << slot;
        EXPECT_EQ(field.rect.height, 12) << slot;
        // Four columns of ten, left to right.
        const int column = slot / 10;
        EXPECT_EQ(field.rect.x,
                  (std::array<int, 4>{200, 244, 285, 329})[static_cast<std::size_t>(column)]);
        EXPECT_TRUE(numberLabels.count(std::to_string(slot))) << slot;
    }
    EXPECT_EQ(byId.at(1018)->rect.y, 15);
    EXPECT_NEAR(byId.at(1036)->rect.y, 105, 1); // slot 9, last row
}

} // namespace
} // namespace kfg::res
