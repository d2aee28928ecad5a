// Which controls each edition shows, through the tables that decide it.
#include "dialogs/main/exchange_table.h"
#include "res/template_102.h"
#include "settings/viewer_key_table.h"
#include "support/kfg_run.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <set>

namespace kfg::dialogs {
namespace {

using test::KfgRun;
using test::TelvioFolder;

// What an edition shows is what it saves: a check box or checked field is shown exactly where
// the edition writes its key, also after the hidden button 1112 applied the layout again.
// Erazor keeps the template's picture fields and SECAM without writing them.
TEST(EditionLayout, ShownFieldsAreTheKeysTheEditionWrites) {
    const std::set<int> erazorExtras = {res::kIdColour, res::kIdBrightness, res::kIdContrast,
                                        res::kIdSecam};
    for (int value = 0; value < settings::kEditionCount; ++value) {
        const auto edition = static_cast<settings::Edition>(value);
        TelvioFolder dir(test::kEditionFiles[static_cast<std::size_t>(value)]);
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            for (const char* pass : {"first", "again"}) {
                for (const ExchangeRow& row : MainExchangeTable()) {
                    const settings::ViewerKey* key =
                        row.number != nullptr ? settings::KeyOf(row.number) : nullptr;
                    if (key == nullptr) {
                        continue;
                    }
                    const bool extra =
                        edition == settings::Edition::Erazor && erazorExtras.count(row.id) > 0;
                    EXPECT_EQ(d.IsItemShown(row.id),
                              settings::Includes(key->writtenBy, edition) || extra)
                        << pass << " edition " << value << " control " << row.id;
                }
                d.Click(res::kIdReapplyLayout);
            }
        });
        EXPECT_EQ(run.state.Edition, edition);
    }
}

// What is shown overlaps only where the template itself lets controls overlap.
TEST(EditionLayout, ShownControlsOverlapOnlyWhereTheTemplateDoes) {
    const auto overlaps = [](const framework::DlgRect& a, const framework::DlgRect& b) {
        return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
               b.y < a.y + a.height;
    };
    for (const char* file : test::kEditionFiles) {
        TelvioFolder dir(file);
        KfgRun run(dir.path(), [&](CKfgDlg& d) {
            std::vector<const framework::ControlTemplate*> shown;
            for (const framework::ControlTemplate& control : res::MainDialogTemplate().controls) {
                if (control.id != framework::kNoId &&
                    control.kind != framework::ControlKind::GroupBox &&
                    control.kind != framework::ControlKind::Spin && d.IsItemShown(control.id)) {
                    shown.push_back(&control);
                }
            }
            for (std::size_t i = 0; i < shown.size(); ++i) {
                for (std::size_t j = i + 1; j < shown.size(); ++j) {
                    if (d.Item(shown[i]->id)
                            ->geometry()
                            .intersects(d.Item(shown[j]->id)->geometry())) {
                        EXPECT_TRUE(overlaps(shown[i]->rect, shown[j]->rect))
                            << file << ": " << shown[i]->id << " and " << shown[j]->id;
                    }
                }
            }
        });
    }
}

} // namespace
} // namespace kfg::dialogs
