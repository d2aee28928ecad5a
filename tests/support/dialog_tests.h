#pragma once

// What every test of the main dialog and its side dialogs works with, named once here rather
// than at the top of each file.
#include "dialogs/main/kfg_dlg.h"
#include "res/side_templates.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/temp_dir.h"
#include "support/typing.h"

#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace kfg::dialogs {

namespace fs = std::filesystem;
using namespace test;
using testing::ElementsAre;
using testing::HasSubstr;

// "KFG.ini" with the stored caption language and `rest` after it.
inline std::string KfgIni(bool spanish, std::string_view rest = {}) {
    return std::string(spanish ? "[KFG]\r\nFr=1\r\n" : "[KFG]\r\nFr=0\r\n") + std::string(rest);
}

} // namespace kfg::dialogs
