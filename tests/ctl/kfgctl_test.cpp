// kfgctl through its entry point, on copies of the sample folders, checked against what the
// dialog loads and saves; and the real program once, handing over to a stand-in Telvio.
#include "ctl/kfgctl.h"
#include "mixer/mixer_test_support.h"
#include "platform/program_starter.h"
#include "platform/save_history.h"
#include "res/template_102.h"
#include "support/child_process.h"
#include "support/kfg_run.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"
#include "telvio/viewer_key_table.h"
#include "telvio/viewer_keys.h"

#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kfg::test {
namespace {

std::filesystem::path Sample(const TempDir& dir, const std::string& name = "V320") {
    std::filesystem::copy(std::filesystem::path(KFG_EXAMPLES_DIR) / name, dir / name,
                          std::filesystem::copy_options::recursive);
    return dir / name;
}

// The standard card with line-in muted; its switch is one value for all channels, as the ALSA
// backend offers every switch.
mixer::SimulatedMixer::Device MutedLineCard() {
    mixer::SimulatedMixer::Device card = mixer::test::StandardCard();
    mixer::SimulatedMixer::Control& mute = mixer::test::LineIn(card).controls[0];
    mute.control.fdwControl = mixer::MIXERCONTROL_CONTROLF_UNIFORM;
    mute.values = {1};
    return card;
}

// Records the programs; given a search path, runs the sound initialisation for real there.
struct Starter : RecordingStarter {
    std::string soundSearchPath;
    std::error_code RunWaited(const std::filesystem::path& folder,
                              const platform::WaitedProgram& program) override {
        return soundSearchPath.empty()
                   ? RecordingStarter::RunWaited(folder, program)
                   : platform::SystemProgramStarter(soundSearchPath).RunWaited(folder, program);
    }
};

// The history of the calls in `folder`: in "state/kfg" beside it, in the test's temporary
// folder, where the calls of one test find each other's states.
std::shared_ptr<platform::SaveHistory> HistoryBeside(const std::filesystem::path& folder) {
    return std::make_shared<platform::SaveHistory>(
        platform::StateFolder(folder.parent_path() / "state" / "kfg"));
}

// One kfgctl call in `folder`, the programs recorded, a sound card with line-in muted.
struct Ctl {
    int status = -1;
    std::string out;
    std::string err;
    Starter starter;
    std::shared_ptr<mixer::SimulatedMixer> mixer = std::make_shared<mixer::SimulatedMixer>();

    Ctl(const std::filesystem::path& folder, std::vector<std::string> arguments,
        texts::TextLanguage language = texts::TextLanguage::English, std::error_code handOver = {},
        std::string soundSearchPath = {}) {
        mixer->AddDevice(MutedLineCard());
        starter.handOverError = handOver;
        starter.soundSearchPath = std::move(soundSearchPath);
        const ctl::Environment environment{.workingDirectory = folder,
                                           .language = language,
                                           .starter = &starter,
                                           .history = HistoryBeside(folder),
                                           .mixer = [this] { return mixer; }};
        std::ostringstream outStream;
        std::ostringstream errStream;
        status = ctl::RunKfgctl(arguments, outStream, errStream, environment);
        out = outStream.str();
        err = errStream.str();
    }
};

// The values the dialog holds, by key: every key the edition reads.
using Values = std::map<std::string, int>;
Values ValuesOf(const telvio::SettingsRecord& record, const telvio::ProcessState& state) {
    Values values;
    for (const telvio::ViewerKey& key : telvio::kViewerKeys) {
        if (key.kind == telvio::KeyKind::Single && telvio::Includes(key.readBy, state.Edition)) {
            values[std::string(key.name)] = telvio::KeyValue(key, record, state);
        }
    }
    for (int slot = 0; slot < telvio::SlotRuleFor(state.Edition).read; ++slot) {
        values[telvio::MemorySlotKey(state.Edition, slot)] =
            record.Memory[static_cast<std::size_t>(slot)];
    }
    return values;
}

// "KEY=VALUE (text)" lines as numbers by key.
Values Shown(const std::string& show) {
    Values values;
    std::istringstream lines(show);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        values[line.substr(0, equals)] = std::stoi(line.substr(equals + 1));
    }
    return values;
}

// What the dialog loads from "Telvio.ini", and then from configuration `name` when given.
struct Loads {
    Values viewer;
    Values configuration;
};
Loads DialogLoads(const std::filesystem::path& folder, const QString& name = {}) {
    Loads loads;
    KfgRun run(folder, [&](dialogs::CKfgDlg& d) {
        loads.viewer = ValuesOf(d.Record(), run.state);
        if (!name.isEmpty()) {
            d.SetItemText(res::kIdConfigurationField, name);
            d.Click(res::kIdShowConfiguration);
            loads.configuration = ValuesOf(d.Record(), run.state);
        }
        d.EndDialog(framework::IDCANCEL);
    });
    return loads;
}

TEST(Kfgctl, ShowPrintsWhatTheDialogLoadsInEverySampleFolder) {
    for (const char* sample : {"V283", "Erazor", "V31", "V311", "V283Quik", "V320"}) {
        SCOPED_TRACE(sample);
        TempDir dir;
        const std::filesystem::path folder = Sample(dir, sample);
        const auto before = FolderBytes(folder);
        const Ctl show(folder, {"show"});
        EXPECT_EQ(show.status, 0) << show.err;
        EXPECT_EQ(FolderBytes(folder), before); // reading writes nothing
        EXPECT_EQ(Shown(show.out), DialogLoads(folder).viewer);
    }
}

TEST(Kfgctl, OutputFormats) {
    struct Case {
        std::vector<std::string> arguments;
        std::string expected; // a part of the output, after a line end
        std::string kfg = ""; // [KFG] lines
    };
    const Case cases[] = {
        {.arguments = {"show"},
         .expected = "\nDisplayMode=14 (640*480 RGB)\nTuner=2 (Philips PAL B/G)\n"},
        // Fr=1: the Spanish lists.
        {.arguments = {"-C", ".", "show"},
         .expected = "\nDisplayMode=14 (640*480 RVB)\n",
         .kfg = "Fr=1\r\n"},
        {.arguments = {"edition"}, .expected = "\nedition=V320\nlabel=V 3.20\nsection=Telvio\n"},
        {.arguments = {"list"}, .expected = "\nAbend\nAb \"\\\xC3\xA4\n"},
        {.arguments = {"show", "--json"},
         .expected = "\n{\"edition\": \"V320\", \"section\": \"Telvio\", \"keys\": {\"Debug\": 0, "
                     "\"Testzeilen\": 16, \"HoeheRand\": 0, \"DisplayMode\": 14"},
        {.arguments = {"show", "--json"},
         .expected = "\"texts\": {\"DisplayMode\": \"640*480 RGB\", \"Tuner\": "},
        {.arguments = {"show", "Ab \"\\\xC3\xA4", "--json"},
         .expected = "\"section\": \"Ab \\\"\\\\\xC3\xA4\", "},
        // Options after the command, chained -C, and "--" before a name that looks like one.
        {.arguments = {"show", "--json", "-C", "..", "-C", "V320", "--", "-h"},
         .expected = "\"section\": \"-h\", "},
        {.arguments = {"-C", "..", "get", "-C", "V320", "displaymode"}, .expected = "\n14\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        TempDir dir;
        const std::filesystem::path folder = Sample(dir);
        WriteBytes(folder / "KFG.ini",
                   "[KFG]\r\n" + c.kfg +
                       "[Abend]\r\nDebug=1\r\n[Ab \"\\\xE4]\r\nDebug=1\r\n[-h]\r\n");
        ASSERT_EQ(Ctl(folder, {"set", "DisplayMode=640*480 RVB"}).status, 0);
        const Ctl run(folder, c.arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(("\n" + run.out).find(c.expected), std::string::npos) << run.out;
    }
}

TEST(Kfgctl, RefusedCallsSayWhyAndWriteNothing) {
    using enum texts::TextLanguage;
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string message; // a part of the error output
        texts::TextLanguage language = English;
    };
    const Case cases[] = {
        {.arguments = {"set", "Testzeilen=50", "Farbe=600"},
         .status = 1,
         .message = "Farbe=600: Please enter an integer between"},
        {.arguments = {"set", "Status=2"},
         .status = 1,
         .message = "Status=2: Please enter an integer between 0 and 1"},
        {.arguments = {"set", "Speicher3=0"},
         .status = 1,
         .message = "Speicher3=0: a memory slot of 0 is never written"},
        {.arguments = {"set", "Station3=4"},
         .status = 1,
         .message = "Station3: Telvio V 3.20 has no such key"},
        {.arguments = {"set", "Accel=3"},
         .status = 1,
         .message = "Accel: KFG never writes this key for Telvio V 3.20"},
        {.arguments = {"set", "DisplayMode=21"},
         .status = 1,
         .message = "DisplayMode=21: neither a row from 0 to 20"},
        {.arguments = {"set", "Tuner=Philips"},
         .status = 1,
         .message = "Tuner=Philips: neither a row from 0 to 4"},
        {.arguments = {"set", "Foo=1"}, .status = 1, .message = "Foo: unknown key"},
        {.arguments = {"get", "Speicher40"}, .status = 1, .message = "Speicher40: unknown key"},
        {.arguments = {"show", "Nacht"},
         .status = 1,
         .message = "KFG.ini holds no configuration Nacht"},
        {.arguments = {"apply", "Nacht"},
         .status = 1,
         .message = "KFG.ini holds no configuration Nacht"},
        {.arguments = {"start", "Nacht"},
         .status = 1,
         .message = "KFG.ini holds no configuration Nacht"},
        {.arguments = {"save", "Ab]end"}, .status = 1, .message = "This name is not possible."},
        {.arguments = {"save", "\xE4\xB8\xAD"},
         .status = 1,
         .message = "This name is not possible."},
        {.arguments = {"save", "Fünfzehn Zeichen"},
         .status = 1,
         .message = "A configuration name has at most 14 characters."},
        {.arguments = {"-C", "nowhere", "show"}, .status = 1, .message = "the folder"},
        {.arguments = {"set", "Testzeilen"},
         .status = 2,
         .message = "Testzeilen: KEY=VALUE expected"},
        {.arguments = {"frobnicate"}, .status = 2, .message = "frobnicate: unknown command"},
        {.arguments = {"--frob", "show"}, .status = 2, .message = "--frob: unknown option"},
        {.arguments = {"-C"}, .status = 2, .message = "-C needs a folder"},
        // Options stand anywhere before "--", and -C chain in the order given.
        {.arguments = {"-C", "fresh", "show", "-C", "../empty"},
         .status = 1,
         .message = "Telvio.ini does not exist in"},
        {.arguments = {"show", "-Abend"}, .status = 2, .message = "-Abend: unknown option"},
        {.arguments = {"apply", "--json", "Abend"},
         .status = 2,
         .message = "--json: kfgctl apply takes no such option"},
        {.arguments = {"--json", "list"},
         .status = 2,
         .message = "--json: kfgctl list takes no such option"},
        {.arguments = {"show", "Abend", "--", "--json"},
         .status = 2,
         .message = "usage: kfgctl show [NAME] [--json]"},
        // A number takes no blanks.
        {.arguments = {"set", "Testzeilen= 5"},
         .status = 1,
         .message = "Testzeilen= 5: Please enter an integer."},
        // Only kfg's first run makes KFG.ini: it asks for the language there.
        {.arguments = {"-C", "fresh", "save", "Abend"},
         .status = 1,
         .message = "KFG.ini gibt es noch nicht",
         .language = German},
        {.arguments = {"delete", "Nacht"},
         .status = 1,
         .message = "KFG.ini no contiene ninguna configuración",
         .language = Spanish},
        {.arguments = {"save", "kfg"},
         .status = 1,
         .message = "Der Name KFG ist reserviert.",
         .language = German},
        // Only a state history lists comes back; the sample has none yet.
        {.arguments = {"restore", "0", "kfg.ini"},
         .status = 1,
         .message = "there is no state 0 of KFG.ini"},
        {.arguments = {"restore", "x"},
         .status = 2,
         .message = "x: the number or the time of a state"},
        {.arguments = {"restore", "2026-12-07T19:30:05"},
         .status = 2,
         .message = "2026-12-07T19:30:05: the number or the time"},
        {.arguments = {"restore", "2026-12-07T19:30:05.5+01:00"},
         .status = 1,
         .message = "there is no state 2026-12-07T19:30:05.5+01:00; kfgctl history lists them"},
        {.arguments = {"restore", "-1"}, .status = 2, .message = "-1: unknown option"},
        {.arguments = {"restore", "1", "Telvio.bak"},
         .status = 2,
         .message = "Telvio.bak: neither Telvio.ini nor KFG.ini"},
        {.arguments = {"history", "Sport"},
         .status = 2,
         .message = "Sport: neither Telvio.ini nor KFG.ini"},
        {.arguments = {"history", "--force"},
         .status = 2,
         .message = "--force: kfgctl history takes no such option"},
        {.arguments = {"restore", "1", "--json"},
         .status = 2,
         .message = "--json: kfgctl restore takes no such option"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        TempDir dir;
        const std::filesystem::path folder = Sample(dir);
        std::filesystem::create_directory(folder / "empty");
        std::filesystem::create_directory(folder / "fresh");
        std::filesystem::copy_file(folder / "Telvio.ini", folder / "fresh" / "Telvio.ini");
        const auto before = FolderBytes(folder);
        const Ctl run(folder, c.arguments, c.language);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find("kfgctl: " + c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(FolderBytes(folder), before);
        EXPECT_TRUE(run.starter.log.empty());
    }
}

// History's output with every time, in local ISO 8601 with the offset (and the fraction that
// sets apart states of one second), as "TIME".
std::string WithTimesAsTime(const std::string& out) {
    static const std::regex kTime(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d{1,9})?[+-]\d\d:\d\d)");
    return std::regex_replace(out, kTime, "TIME");
}

// A line of history: the state's name and its file.
struct Line {
    std::string name;
    std::string file;
};

std::vector<Line> LinesListed(const std::filesystem::path& folder,
                              std::vector<std::string> arguments = {"history"}) {
    static const std::regex kLine(R"(^\d+  (\S+)  (\S+)  .*$)");
    std::vector<Line> listed;
    std::istringstream lines(Ctl(folder, std::move(arguments)).out);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, kLine)) {
            listed.push_back({.name = match[1], .file = match[2]});
        }
    }
    return listed;
}

// The names history gives, line by line.
std::vector<std::string> NamesListed(const std::filesystem::path& folder,
                                     std::vector<std::string> arguments = {"history"}) {
    std::vector<std::string> names;
    for (Line& line : LinesListed(folder, std::move(arguments))) {
        names.push_back(std::move(line.name));
    }
    return names;
}

// Two saves of each file, interleaved: history lists what each replaced in one list, newest
// first, and restoring a file's state 1 brings back what its last save replaced, keeping what
// it replaces and saying so.
TEST(Kfgctl, HistoryListsWhatEachSaveReplacedAndRestoreBringsItBack) {
    TempDir dir;
    const std::filesystem::path folder = Sample(dir);
    struct Save {
        std::string file;
        std::vector<std::string> command;
    };
    const Save saves[] = {
        {.file = "Telvio.ini", .command = {"set", "Helligkeit=10"}},
        {.file = "KFG.ini", .command = {"delete", "Sport"}},
        {.file = "Telvio.ini",
         .command = {"set", "Kontrast=20", "Farbe=30", "Helligkeit=11", "Oben=2"}},
        {.file = "KFG.ini", .command = {"save", "Nacht"}},
    };
    std::map<std::string, std::vector<std::string>> contents{
        // by file, oldest first
        {"Telvio.ini", {ReadBytes(folder / "Telvio.ini")}},
        {"KFG.ini", {ReadBytes(folder / "KFG.ini")}}};
    for (const Save& save : saves) {
        ASSERT_EQ(Ctl(folder, save.command).status, 0);
        contents[save.file].push_back(ReadBytes(folder / save.file));
    }
    const Ctl both(folder, {"history"}, texts::TextLanguage::Spanish);
    EXPECT_EQ(WithTimesAsTime(both.out), "1  TIME  KFG.ini  [Nacht]\n"
                                         "2  TIME  Telvio.ini  Farbe, Helligkeit, Kontrast +1 más\n"
                                         "3  TIME  KFG.ini  [Sport]\n"
                                         "4  TIME  Telvio.ini  Helligkeit\n");
    EXPECT_EQ(both.err, "");
    const Ctl json(folder, {"history", "--json", "telvio.INI"});
    const std::vector<std::string> names = NamesListed(folder, {"history", "Telvio.ini"});
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(WithTimesAsTime(json.out),
              "{\"states\": [{\"number\": 1, \"replaced\": \"TIME\", \"file\": \"Telvio.ini\", "
              "\"keys\": [\"Farbe\", \"Helligkeit\", \"Kontrast\", \"Oben\"], \"name\": \"TIME\"}, "
              "{\"number\": 2, \"replaced\": \"TIME\", \"file\": \"Telvio.ini\", \"keys\": "
              "[\"Helligkeit\"], \"name\": \"TIME\"}]}\n");
    EXPECT_NE(json.out.find("\"name\": \"" + names[0] + "\""), std::string::npos);
    for (const auto& [file, content] : contents) {
        SCOPED_TRACE(file);
        const std::string restored = NamesListed(folder, {"history", file}).at(0);
        const Ctl restore(folder, {"restore", "1", file});
        EXPECT_EQ(restore.status, 0) << restore.err;
        const std::string replacedBy = NamesListed(folder, {"history", file}).at(0);
        EXPECT_EQ(restore.out, file + ": state " + restored +
                                   " put back; the bytes it replaced are state " + replacedBy +
                                   " now\n");
        EXPECT_EQ(restore.err, "");
        EXPECT_EQ(ReadBytes(folder / file), content[1]);
        const auto kept = HistoryBeside(folder)->States(folder / file);
        ASSERT_EQ(kept.size(), 3u);
        EXPECT_EQ(ReadBytes(kept[0].path), content[2]);
        EXPECT_EQ(Ctl(folder, {"restore", "1", file}).status, 0); // the restore undone
        EXPECT_EQ(ReadBytes(folder / file), content[2]);
    }

    // A state of another Telvio in the same folder comes back only when asked for with --force.
    WriteBytes(folder / "Telvio.ini", "[Telvio]\r\nOptimierungBT=1\r\nHelligkeit=5\r\n");
    const auto before = FolderBytes(folder);
    const Ctl refused(folder, {"restore", "1", "Telvio.ini"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "kfgctl: state 1 of Telvio.ini is of Telvio V 3.20, the file now of "
              "Telvio V 2.83; nothing was written (--force restores it all the same)\n");
    EXPECT_EQ(FolderBytes(folder), before);
    EXPECT_EQ(HistoryBeside(folder)->States(folder / "Telvio.ini").size(), 4u);
    EXPECT_EQ(Ctl(folder, {"restore", "--force", "1", "Telvio.ini"}).status, 0);
    EXPECT_EQ(ReadBytes(folder / "Telvio.ini"), contents["Telvio.ini"][1]);
}

// Every line history lists is reachable, the oldest included: by its number in the one list,
// and by its name after later saves have shifted every number.
TEST(Kfgctl, RestoreReachesEveryListedStateByNumberOrByName) {
    TempDir dir;
    const std::filesystem::path folder = Sample(dir);
    ASSERT_EQ(Ctl(folder, {"set", "Helligkeit=200"}).status, 0);
    ASSERT_EQ(Ctl(folder, {"save", "Abend"}).status, 0);
    ASSERT_EQ(Ctl(folder, {"set", "Farbe=111"}).status, 0);
    const std::vector<std::string> names = NamesListed(folder);
    ASSERT_EQ(names.size(), 3u);
    std::set<std::string> distinct(names.begin(), names.end());
    EXPECT_EQ(distinct.size(), names.size()) << "each name once";

    // Line N of the one list is the state named on line N, whichever file it is of.
    for (std::size_t number = names.size(); number >= 1; --number) {
        SCOPED_TRACE(number);
        const Line wanted = LinesListed(folder).at(number - 1);
        const Ctl restore(folder, {"restore", std::to_string(number)});
        EXPECT_EQ(restore.status, 0) << restore.err;
        EXPECT_TRUE(restore.out.starts_with(wanted.file + ": state " + wanted.name + " put back"))
            << restore.out;
    }
    // A name shown before stays the name of its state, however many saves came since.
    const std::string oldest = names.back();
    const std::string original =
        ReadBytes(std::filesystem::path(KFG_EXAMPLES_DIR) / "V320" / "Telvio.ini");
    ASSERT_EQ(Ctl(folder, {"set", "Kontrast=3"}).status, 0);
    EXPECT_EQ(Ctl(folder, {"restore", oldest}).status, 0);
    EXPECT_EQ(ReadBytes(folder / "Telvio.ini"), original);
}

// The kept states are most needed when Telvio.ini is gone: history and restore need only the
// folder, and a missing or empty file is made again from the state.
TEST(Kfgctl, AMissingOrEmptyFileComesBackFromItsState) {
    struct Case {
        const char* what;
        std::string file;
        bool deleted; // else emptied
    };
    const Case cases[] = {
        {.what = "Telvio.ini deleted", .file = "Telvio.ini", .deleted = true},
        {.what = "Telvio.ini emptied", .file = "Telvio.ini", .deleted = false},
        {.what = "KFG.ini deleted: no first run", .file = "KFG.ini", .deleted = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::filesystem::path folder = Sample(dir);
        const std::string original = ReadBytes(folder / c.file);
        ASSERT_EQ(Ctl(folder, {c.file == "KFG.ini" ? "delete" : "set",
                               c.file == "KFG.ini" ? "Sport" : "Helligkeit=200"})
                      .status,
                  0);
        if (c.deleted) {
            std::filesystem::remove(folder / c.file);
        } else {
            WriteBytes(folder / c.file, "");
        }
        EXPECT_EQ(NamesListed(folder).size(), 1u);
        const Ctl restore(folder, {"restore", "1", c.file});
        EXPECT_EQ(restore.status, 0) << restore.err;
        EXPECT_EQ(WithTimesAsTime(restore.out), c.file + ": state TIME put back\n");
        EXPECT_EQ(ReadBytes(folder / c.file), original);
    }
    // A folder that is not there is still refused.
    const Ctl nowhere("/nonexistent", {"history"});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err, "kfgctl: the folder /nonexistent does not exist\n");
}

// Key names in any letter case, list texts, signs: only the lines of the keys change.
TEST(Kfgctl, SetChangesExactlyTheLinesOfItsKeys) {
    TempDir dir;
    const std::filesystem::path folder = Sample(dir);
    std::string expected = ReadBytes(folder / "Telvio.ini");
    struct Change {
        std::string before;
        std::string after;
    };
    const Change lines[] = {
        {.before = "DisplayMode=5", .after = "DisplayMode=14"},
        {.before = "TVKarte=9", .after = "TVKarte=3"},
        {.before = "Tuner=2", .after = "Tuner=4"},
        {.before = "Status=1", .after = "Status=0"},
        {.before = "Speicher15=0", .after = "Speicher15=7"},
        {.before = "Links=40", .after = "Links=-3"},
    };
    for (const Change& line : lines) {
        const std::size_t at = expected.find("\r\n" + line.before + "\r\n");
        ASSERT_NE(at, std::string::npos) << line.before;
        expected.replace(at + 2, line.before.size(), line.after);
    }
    const Ctl run(folder, {"set", "displaymode=640*480 RVB", "TVKARTE=Miro PCTV pro", "Tuner=+4",
                           "Speicher15=7", "Status=0", "Links=-3"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(folder / "Telvio.ini"), expected);
}

TEST(Kfgctl, ApplyThenTheDialogShowsTheConfigurationButItsEmptySlots) {
    TempDir dir;
    const std::filesystem::path folder = Sample(dir);
    ASSERT_EQ(Ctl(folder, {"set", "Speicher15=99", "Speicher36=98"}).status, 0);
    const std::string configurations = ReadBytes(folder / "KFG.ini");
    const Ctl apply(folder, {"apply", "Abend"});
    EXPECT_EQ(apply.status, 0) << apply.err;
    auto [viewer, abend] = DialogLoads(folder, "Abend");
    EXPECT_EQ(abend["Farbe"], 240); // Abend's own values, not Telvio.ini's
    EXPECT_EQ(abend["Speicher15"], 0);
    abend["Speicher15"] = 99; // a slot of 0 is never written
    abend["Speicher36"] = 98;
    EXPECT_EQ(viewer, abend);
    EXPECT_EQ(ReadBytes(folder / "KFG.ini"), configurations);
}

// A save stores what the dialog's "Speichern" stores (the check boxes as they show the stored
// values, the sound options as 1 or 0), into the first run's file in whatever letter case.
TEST(Kfgctl, SaveStoresWhatTheDialogsSaveStores) {
    const char* telvio =
        "[Telvio]\r\nStatus=2\r\nSecam=5\r\nPLL=-1\r\nProportional=1\r\nSpeicher3=4\r\n";
    const char* kfg = "[KFG]\r\nLineIn=7\r\n[Abend]\r\nFarbe=3\r\nKontrast=9\r\n";
    const TelvioFolder byDialog(telvio, kfg);
    const TelvioFolder byKfgctl(telvio, kfg);
    std::filesystem::rename(byKfgctl / "KFG.ini", byKfgctl / "kfg.INI");
    KfgRun run(byDialog.path(), [](dialogs::CKfgDlg& d) {
        d.SetItemText(res::kIdConfigurationField, "Abend");
        d.Click(res::kIdSaveConfiguration);
        d.EndDialog(framework::IDCANCEL);
    });
    const Ctl save(byKfgctl.path(), {"save", " Abend "});
    EXPECT_EQ(save.status, 0) << save.err;
    EXPECT_NE(ReadBytes(byDialog / "KFG.ini").find("[Abend]\r\nFarbe=254\r\n"), std::string::npos);
    EXPECT_EQ(ReadBytes(byKfgctl / "kfg.INI"), ReadBytes(byDialog / "KFG.ini"));
    EXPECT_FALSE(std::filesystem::exists(byKfgctl / "KFG.ini"));
}

TEST(Kfgctl, StartWritesUnmutesInitialisesAndHandsOver) {
    struct Case {
        const char* sample;
        const char* command;
        std::string soundOptions;    // [KFG] lines
        bool readOnly = false;       // "Telvio.ini" cannot be written
        bool programMissing = false; // the hand-over fails
        std::string started;         // what was started, one "; " after each
        std::uint32_t mutedAfter;
        std::string viewerHolds; // a line of Telvio.ini afterwards
        std::string err = {};
    };
    const Case cases[] = {
        {.sample = "V320",
         .command = "start Sport",
         .soundOptions = "LineIn=1\r\n",
         .started = "handover Telvio.exe Quick; ",
         .mutedAfter = 0,
         .viewerHolds = "Farbe=280"},
        {.sample = "V320",
         .command = "start",
         .soundOptions = "SoundInit=1\r\nLineIn=0\r\n",
         .started = "sound; handover Telvio.exe Quick; ",
         .mutedAfter = 1,
         .viewerHolds = "Farbe=254"},
        // Told, then Telvio starts with what the disk holds, as from the dialog.
        {.sample = "V320",
         .command = "start Sport",
         .soundOptions = "",
         .readOnly = true,
         .started = "handover Telvio.exe Quick; ",
         .mutedAfter = 1,
         .viewerHolds = "Farbe=254",
         .err = "kfgctl: Telvio.ini could not be saved: no permission to write\n"},
        {.sample = "V283Quik",
         .command = "start",
         .soundOptions = "LineIn=2\r\n",
         .programMissing = true,
         .started = "handover 2QUIK!.exe Quick; ",
         .mutedAfter = 0,
         .viewerHolds = "Accel=12",
         .err = "kfgctl: 2QUIK!.exe could not be started: the file does not exist\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample + c.started);
        TempDir dir;
        const std::filesystem::path folder = Sample(dir, c.sample);
        WriteBytes(folder / "KFG.ini",
                   "[KFG]\r\n" + c.soundOptions + "[Sport]\r\nFarbe=280\r\nSpeicher0=21\r\n");
        if (c.readOnly) {
            std::filesystem::permissions(folder / "Telvio.ini", std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
        }
        std::istringstream words(c.command);
        const Ctl run(folder, {std::istream_iterator<std::string>(words), {}},
                      texts::TextLanguage::English,
                      c.programMissing ? make_error_code(platform::FailureCause::FileMissing)
                                       : std::error_code{});
        EXPECT_EQ(run.status, c.programMissing ? 1 : 0);
        std::string started;
        for (const std::string& program : run.starter.log) {
            started += program + "; ";
        }
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(run.mixer->ControlValues(mixer::test::kLineMute),
                  std::vector<std::uint32_t>{c.mutedAfter});
        EXPECT_NE(ReadBytes(folder / "Telvio.ini").find("\r\n" + c.viewerHolds + "\r\n"),
                  std::string::npos);
        EXPECT_EQ(run.err, c.err);
    }
}

// However the sound initialisation goes, the user is told how in one sentence, and Telvio
// starts.
TEST(Kfgctl, StartTellsHowTheSoundInitialisationWent) {
    using enum texts::TextLanguage;
    struct Case {
        const char* file; // for the stand-in wine; none: no wine at all
        const char* content;
        texts::TextLanguage language;
        std::string told;
    };
    const Case cases[] = {
        {.file = nullptr,
         .content = "",
         .language = English,
         .told = "rundll32.exe could not be started: wine is not installed"},
        {.file = "exit-status",
         .content = "3",
         .language = English,
         .told = "rundll32.exe ended with status 3"},
        {.file = "exit-signal",
         .content = "9",
         .language = Spanish,
         .told = "rundll32.exe fue terminado por la señal 9"},
        {.file = "run-seconds",
         .content = "6",
         .language = English,
         .told = "rundll32.exe was still running after 5 seconds; Telvio is started all the same"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.told);
        TempDir dir;
        const std::filesystem::path folder = Sample(dir);
        WriteBytes(folder / "KFG.ini", "[KFG]\r\nSoundInit=1\r\n");
        std::filesystem::create_directory(dir / "bin");
        if (c.file != nullptr) {
            PlaceStandIn(dir / "bin" / "wine");
            WriteBytes(folder / c.file, c.content);
        }
        const Ctl run(folder, {"start"}, c.language, {}, (dir / "bin").string());
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "kfgctl: " + c.told + "\n");
        EXPECT_EQ(run.starter.log, std::vector<std::string>{"handover Telvio.exe Quick"});
    }
}

// The real program, run by the shell in `folder`: `prefix` before it (env, setpriv), and
// `output` as the shell's redirection of standard output (a file "out" unless given). Its
// home and state folder are the test's own, beside `folder`, unless `prefix` names others.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};
ProgramRun RunProgram(const std::filesystem::path& folder, const std::string& prefix,
                      const std::string& arguments, const std::string& output = ">out") {
    const std::string beside = folder.parent_path().string();
    const std::string command = "cd '" + folder.string() + "' && env HOME='" + beside +
                                "/home' XDG_STATE_HOME='" + beside + "/state' " + prefix + " " +
                                KFG_CTL_PROGRAM + " " + arguments + " " + output + " 2>err";
    const int status = std::system(command.c_str());
    ProgramRun run{.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                   .out = "",
                   .err = ReadBytes(folder / "err")};
    if (output == ">out") {
        run.out = ReadBytes(folder / "out");
    }
    std::filesystem::remove(folder / "out");
    std::filesystem::remove(folder / "err");
    return run;
}

// Output that never arrives is no success: a full disk or a closed standard output ends with
// status 1 and one line that says so, in the message language.
TEST(Kfgctl, OutputThatCannotBeWrittenIsAFailure) {
    struct Case {
        const char* arguments;
        const char* output;
        const char* locale;
        const char* message;
    };
    const Case cases[] = {
        {.arguments = "show",
         .output = ">/dev/full",
         .locale = "C",
         .message = "kfgctl: cannot write the output: the disk is full\n"},
        {.arguments = "list",
         .output = ">/dev/full",
         .locale = "C",
         .message = "kfgctl: cannot write the output: the disk is full\n"},
        {.arguments = "get Helligkeit",
         .output = ">/dev/full",
         .locale = "de_DE.UTF-8",
         .message = "kfgctl: die Ausgabe kann nicht geschrieben werden: Datenträger voll\n"},
        {.arguments = "history --json",
         .output = ">/dev/full",
         .locale = "es_ES.UTF-8",
         .message = "kfgctl: no se puede escribir la salida: disco lleno\n"},
        {.arguments = "--help",
         .output = ">/dev/full",
         .locale = "C",
         .message = "kfgctl: cannot write the output: the disk is full\n"},
        {.arguments = "show --json",
         .output = ">&-",
         .locale = "C",
         .message = "kfgctl: cannot write the output: Bad file descriptor\n"},
    };
    TempDir dir;
    const std::filesystem::path folder = Sample(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ProgramRun run = RunProgram(folder,
                                          "env LC_ALL=" + std::string(c.locale) +
                                              " XDG_STATE_HOME='" + (dir / "state").string() + "'",
                                          c.arguments, c.output);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.message);
    }
    // What a command wrote to its files stays written.
    const ProgramRun set = RunProgram(folder, "env LC_ALL=C", "set Helligkeit=99", ">&-");
    EXPECT_EQ(set.status, 0) << set.err; // it printed nothing, so nothing went missing
    EXPECT_NE(ReadBytes(folder / "Telvio.ini").find("\r\nHelligkeit=99\r\n"), std::string::npos);
}

// A locale without a character set is Latin-1 on a standard system: the terminal gets plain
// English, as for any locale that is not UTF-8.
TEST(Kfgctl, ALocaleWithoutCharacterSetGetsPlainEnglish) {
    struct Case {
        const char* lang;
        const char* message;
    };
    const Case cases[] = {
        {.lang = "de_DE", .message = "kfgctl: the folder /nonexistent does not exist\n"},
        {.lang = "es_ES", .message = "kfgctl: the folder /nonexistent does not exist\n"},
        {.lang = "de_DE.UTF-8", .message = "kfgctl: der Ordner /nonexistent existiert nicht\n"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        const ProgramRun run =
            RunProgram(dir.path(), "env -i LANG=" + std::string(c.lang), "-C /nonexistent edition");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.message);
    }
}

// A second user on the same machine controls the state folder: what it holds is never listed
// nor restored, kfgctl says why, and saves go on without keeping anything there. Acted out by
// an ordinary user whose history another user took over after two of the user's saves.
TEST(Kfgctl, AStateFolderAnotherUserControlsIsNeitherListedNorRestored) {
    if (!CanSwitchUsers()) {
        GTEST_SKIP() << "needs root to act as two ordinary users";
    }
    constexpr uid_t kUser = 4101;
    constexpr uid_t kOther = 4102;
    struct Case {
        const char* what;
        uid_t owner; // of the state folder "kfg"
        mode_t mode;
        bool link; // "kfg" is a link to the user's own private folder
        const char* reason;
    };
    const Case cases[] = {
        {.what = "another user's",
         .owner = kOther,
         .mode = 0755,
         .link = false,
         .reason = "belongs to another user"},
        {.what = "open to all",
         .owner = kUser,
         .mode = 0777,
         .link = false,
         .reason = "other users may write into"},
        {.what = "a link",
         .owner = kUser,
         .mode = 0700,
         .link = true,
         .reason = "is a symbolic link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::filesystem::path folder = Sample(dir);
        const std::filesystem::path state = dir / "state";
        std::filesystem::create_directory(state);
        const std::string user = "setpriv --reuid=4101 --regid=4101 --clear-groups env LC_ALL=C "
                                 "XDG_STATE_HOME='" +
                                 state.string() + "'";
        ASSERT_EQ(std::system(("chown -R 4101:4101 '" + dir.path().string() + "'").c_str()), 0);
        ASSERT_EQ(RunProgram(folder, user, "set Helligkeit=7").status, 0);
        ASSERT_EQ(RunProgram(folder, user, "set Speicher0=999").status, 0);
        ASSERT_EQ(RunProgram(folder, user, "history").out.size() > 0, true);
        if (c.link) {
            std::filesystem::rename(state / "kfg", state / "private");
            std::filesystem::create_directory_symlink(state / "private", state / "kfg");
        }
        ASSERT_EQ(::lchown((state / "kfg").c_str(), c.owner, c.owner), 0);
        if (!c.link) {
            ASSERT_EQ(::chmod((state / "kfg").c_str(), c.mode), 0);
        }
        const auto kept = FolderBytes(state);
        const std::string before = ReadBytes(folder / "Telvio.ini");

        const ProgramRun history = RunProgram(folder, user, "history");
        EXPECT_EQ(history.status, 0);
        EXPECT_EQ(history.out, "");
        EXPECT_NE(history.err.find("kfgctl: no earlier state can be kept: "), std::string::npos);
        EXPECT_NE(history.err.find(c.reason), std::string::npos) << history.err;
        const ProgramRun restore = RunProgram(folder, user, "restore 1");
        EXPECT_EQ(restore.status, 1);
        EXPECT_EQ(ReadBytes(folder / "Telvio.ini"), before);
        const ProgramRun set = RunProgram(folder, user, "set Helligkeit=9");
        EXPECT_EQ(set.status, 0) << set.err;
        EXPECT_NE(ReadBytes(folder / "Telvio.ini").find("\r\nHelligkeit=9\r\n"), std::string::npos);
        EXPECT_EQ(FolderBytes(state), kept); // nothing kept in what the other user controls
    }
}

// The real program: Telvio (a stand-in) replaces it with "Quick" after Sport's values are
// written. The history is a help, never a hindrance: a state folder that cannot be written
// stops no save, and kfgctl says nothing about it.
TEST(Kfgctl, TheProgramHandsOverToTelvio) {
    TempDir dir;
    const std::filesystem::path folder = Sample(dir);
    std::filesystem::remove(folder / "Telvio.exe");
    PlaceStandIn(folder / "Telvio.exe");
    WriteBytes(dir / "state", ""); // a file where the state folder would be
    const std::string kfgctl = KFG_CTL_PROGRAM;
    const std::string command = "cd '" + folder.string() + "' && export LC_ALL=C XDG_STATE_HOME='" +
                                (dir / "state").string() + "' && " + kfgctl +
                                " start Sport 2>err.txt && " + kfgctl + " history >>err.txt 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(ReadBytes(folder / "Telvio.ini").find("\r\nFarbe=280\r\n"), std::string::npos);
    const std::vector<StandInRun> started = StandInLog(folder);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].command, "Telvio.exe Quick");
    // Only history tells that nothing is kept.
    EXPECT_EQ(ReadBytes(folder / "err.txt"),
              "kfgctl: no earlier state can be kept: " + (dir / "state" / "kfg").string() +
                  " cannot be written: Not a directory\n");
}

} // namespace
} // namespace kfg::test
