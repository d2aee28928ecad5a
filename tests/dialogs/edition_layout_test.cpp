// Which controls each edition shows, through the tables that decide it.
#include "dialogs/main/exchange_table.h"
#include "support/dialog_tests.h"
#include "telvio/viewer_key_table.h"
#include "telvio/viewer_keys.h"

#include <set>

namespace kfg::dialogs {
namespace {

struct ShownValue {
    int id;
    std::string line; // "Key=value" as a save would write it
    bool enabled;
};

// What an edition shows is what it saves. A check box or checked field is shown exactly where
// the edition writes its key, also after the hidden button 1112 applied the layout again;
// Erazor keeps the template's picture fields and SECAM without writing them (disabled). Then
// every control of a key gets a new value, and after the save exactly the enabled ones are in
// the file with it.
TEST(EditionLayout, ShownAndEnabledExactlyWhereTheEditionWritesTheKey) {
    const std::set<int> erazorExtras = {res::kIdColour, res::kIdBrightness, res::kIdContrast,
                                        res::kIdSecam};
    for (int value = 0; value < telvio::kEditionCount; ++value) {
        const auto edition = static_cast<telvio::Edition>(value);
        std::vector<ShownValue> shown;
        KfgRunIn run(kEditionFiles[static_cast<std::size_t>(value)], {}, [&](CKfgDlg& d) {
            for (const char* pass : {"first", "again"}) {
                for (const ExchangeRow& row : MainExchangeTable()) {
                    const telvio::ViewerKey* key =
                        row.number != nullptr ? telvio::KeyOf(row.number) : nullptr;
                    const bool extra =
                        edition == telvio::Edition::Erazor && erazorExtras.count(row.id) > 0;
                    if (key != nullptr) {
                        EXPECT_EQ(d.IsItemShown(row.id),
                                  telvio::Includes(key->writtenBy, edition) || extra)
                            << pass << " edition " << value << " control " << row.id;
                    }
                }
                d.Click(res::kIdReapplyLayout);
            }
            for (const ExchangeRow& row : MainExchangeTable()) {
                const telvio::ViewerKey* key =
                    row.number != nullptr ? telvio::KeyOf(row.number) : nullptr;
                if (row.slot < 0 && key == nullptr) {
                    continue; // never stored
                }
                const bool check = row.kind == ExchangeKind::Check;
                // Each a value the file does not hold yet.
                const int next = row.slot >= 0 ? 100 + row.slot
                                 : check       ? 1 - d.CheckState(row.id)
                                               : key->values.low + 3;
                check ? d.SetCheck(row.id, next) : d.SetItemInt(row.id, next);
                const std::string name = row.slot >= 0 ? telvio::MemorySlotKey(edition, row.slot)
                                                       : std::string(key->name);
                shown.push_back({.id = row.id,
                                 .line = name + "=" + std::to_string(next),
                                 .enabled = d.IsItemEnabled(row.id)});
            }
            EXPECT_TRUE(d.SaveSettings(SettingsSource::Telvio));
        });
        EXPECT_EQ(run.state.Edition, edition);
        const std::string saved = ReadBytes(run / "Telvio.ini");
        for (const ShownValue& control : shown) {
            EXPECT_EQ(saved.find("\r\n" + control.line + "\r\n") != std::string::npos,
                      control.enabled)
                << "edition " << value << " control " << control.id << " " << control.line;
        }
        EXPECT_GT(shown.size(), 50u);
    }
}

struct EnabledCase {
    const char* telvioIni;
    int field; // shows `loaded`, then `shown` from the configuration "Abend"
    const char* loaded;
    const char* shown;
    std::vector<int> enabled{}; // at start, beyond what the save above checks
    std::vector<int> disabled{};
};

// Every control's enabled state holds through everything that loads or relabels the window: the
// "Telvio.ini" button, showing a configuration, the language switch, the layout button and
// "Defaultwerte". Erazor shows its picture fields disabled with their spins and button, their
// labels enabled.
TEST(EditionLayout, EnabledStateHoldsThroughLoadsAndLanguages) {
    using namespace res;
    const auto slot = [](int n) { return kMemorySlotIds[static_cast<std::size_t>(n)]; };
    const EnabledCase cases[] = {
        {.telvioIni = "[Telvio]\r\nOptimierungBT=1\r\nStation12=7\r\n",
         .field = slot(12),
         .loaded = "7",
         .shown = "9"},
        {.telvioIni = "[Telvio-Erazor]\r\nLine-In=1\r\nFarbe=600\r\n",
         .field = kIdColour,
         .loaded = "600",
         .shown = "300",
         .enabled = {kIdColourLabel, kIdBrightnessLabel, kIdContrastLabel, kIdDefaults,
                     kIdTestLinesSpin, kIdBorderHeightSpin, kIdStatistics},
         .disabled = {kIdColourSpin, kIdBrightnessSpin, kIdContrastSpin, kIdPictureDefaults}},
    };
    for (const EnabledCase& c : cases) {
        SCOPED_TRACE(c.telvioIni);
        const std::string kfg = "[KFG]\r\nFr=0\r\n[Abend]\r\nStation12=9\r\nFarbe=300\r\n";
        KfgRunIn run(c.telvioIni, kfg, [&](CKfgDlg& d) {
            const auto enabledIds = [&d] {
                std::vector<int> ids;
                for (const framework::ControlTemplate& control : d.Template().controls) {
                    if (control.id != framework::kNoId && d.IsItemEnabled(control.id)) {
                        ids.push_back(control.id);
                    }
                }
                return ids;
            };
            const std::vector<int> atStart = enabledIds();
            const auto holds = [&](const char* after) {
                EXPECT_EQ(enabledIds(), atStart) << after;
            };
            for (const int id : c.enabled) {
                EXPECT_TRUE(d.IsItemEnabled(id)) << id;
            }
            for (const int id : c.disabled) {
                EXPECT_FALSE(d.IsItemEnabled(id)) << id;
            }
            EXPECT_EQ(d.ItemText(c.field), c.loaded);
            TypeInto(d.Item(kIdConfigurationField), "Abend");
            d.Click(kIdShowConfiguration);
            EXPECT_EQ(d.ItemText(c.field), c.shown);
            holds("configuration");
            d.Click(kIdReload);
            EXPECT_EQ(d.ItemText(c.field), c.loaded);
            holds("Telvio.ini");
            d.Click(kIdLanguageToggle);
            holds("Spanish");
            d.Click(kIdLanguageToggle);
            d.Click(kIdReapplyLayout);
            holds("German, layout again");
            d.Click(kIdDefaults); // resets what is shown disabled too
            EXPECT_EQ(d.ItemText(kIdColour), "254");
            holds("defaults");
            d.Click(kIdExit);
            EXPECT_TRUE(d.IsEnded());
        });
        EXPECT_TRUE(run.script.Messages().empty()); // Farbe=600 stops nothing
    }
}

// What is shown overlaps only where the template itself lets controls overlap.
TEST(EditionLayout, ShownControlsOverlapOnlyWhereTheTemplateDoes) {
    const auto overlaps = [](const framework::DlgRect& a, const framework::DlgRect& b) {
        return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
               b.y < a.y + a.height;
    };
    for (const char* file : kEditionFiles) {
        KfgRunIn run(file, {}, [&](CKfgDlg& d) {
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
