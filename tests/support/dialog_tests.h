#pragma once

// What every test of the main dialog and its side dialogs works with, named once here rather
// than at the top of each file.
#include "dialogs/main/kfg_dlg.h"
#include "res/side_templates.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"
#include "support/typing.h"

#include <QAccessible>
#include <QComboBox>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::dialogs {

namespace fs = std::filesystem;
using namespace test;
using testing::AllOf;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

// "KFG.ini" with the stored caption language and `rest` after it.
inline std::string KfgIni(bool spanish, std::string_view rest = {}) {
    return std::string(spanish ? "[KFG]\r\nFr=1\r\n" : "[KFG]\r\nFr=0\r\n") + std::string(rest);
}

// The shown nodes below `node` a user can reach (controls that act or take focus), as "name"
// or, for an unnamed one (a list named by one of its entries alone is), "<unnamed ClassName>".
inline void Collect(QAccessibleInterface* node, QStringList& reachable) {
    constexpr QAccessible::Role kActing[] = {QAccessible::PushButton,   QAccessible::CheckBox,
                                             QAccessible::RadioButton,  QAccessible::ComboBox,
                                             QAccessible::EditableText, QAccessible::List};
    if (node == nullptr || node->state().invisible) {
        return;
    }
    if (std::ranges::find(kActing, node->role()) != std::end(kActing) || node->state().focusable) {
        QString name = node->text(QAccessible::Name).trimmed();
        // A list heard by one of its entries alone says nothing about what it is for.
        if (auto* list = qobject_cast<QComboBox*>(node->object());
            list != nullptr && list->findText(name, Qt::MatchFixedString) >= 0) {
            name.clear();
        }
        reachable
            << (name.isEmpty()
                    ? QStringLiteral("<unnamed %1>").arg(node->object()->metaObject()->className())
                    : name);
    }
    for (int i = 0; i < node->childCount(); ++i) {
        Collect(node->child(i), reachable);
    }
}

} // namespace kfg::dialogs
