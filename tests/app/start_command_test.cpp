// The start button as a user meets it: a sound card behind the real ALSA backend (the suite's
// fake card), and real programs (stand-ins for wine, the sound initialisation and Telvio) run
// by the real program starter. A hand-over replaces the process, so those runs happen in a
// child process, and what they did is read from the stand-ins' log and the files afterwards.
#include "dialogs/main/kfg_dlg.h"
#include "mixer/alsa_mixer.h"
#include "platform/program_starter.h"
#include "res/side_templates.h"
#include "res/template_102.h"
#include "support/kfg_run.h"
#include "support/private_cards.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kfg {
namespace {

using test::PrivateCards;
using test::ReadBytes;
using test::StandInLog;
using test::TempDir;
using test::WriteBytes;

using CardList = std::vector<PrivateCards::Card>;

// An onboard chip: line-in with a two-channel switch that alsa-lib does not report as joined.
std::string Onboard(const std::string& line, const std::string& more = {}) {
    return "\"Master Playback Switch:b:2\" \"Master Playback Volume:i:2:20,21\" "
           "\"Line Playback Switch:b:2:" +
           line +
           "\" \"Line Playback Volume:i:2:12,13\" \"CD Playback Switch:b:2:0,1\" "
           "\"Mic Playback Switch:b:2:1,0\" \"Capture Switch:b:2:1,1\" " +
           more;
}

// The capture card's own ALSA device: capture controls only.
const PrivateCards::Card kCaptureOnly{"\"Capture Switch:b:2:1,1\" \"Capture Volume:i:2:5,5\" "
                                      "\"Line Capture Switch:b:2:0,0\"",
                                      ""};

// A Telvio folder whose KFG.ini asks for line-in (and whatever `kfg` adds).
void TelvioFolder(const TempDir& dir, const std::string& kfg = "LineIn=1\r\n") {
    WriteBytes(dir / "Telvio.ini", "[Telvio]\r\nStatus=1\r\n");
    WriteBytes(dir / "KFG.ini", "[KFG]\r\nFr=0\r\n" + kfg);
}

// Presses Start in KFG over `cards`; the viewer is missing, so KFG ends after telling so.
void PressStart(PrivateCards& cards, const std::filesystem::path& folder) {
    test::KfgRun run(
        folder, [](dialogs::CKfgDlg& d) { d.Click(res::kIdStart); }, {},
        test::WithCard(
            std::make_shared<mixer::AlsaMixer>(std::make_unique<test::SharedCards>(cards))));
    EXPECT_EQ(run.starter.log.back(), "handover Telvio.exe Quick");
}

struct LineInCase {
    const char* line;                                 // the switch's channels before
    std::string extra;                                // more elements of the card
    std::map<std::string, std::vector<long>> changed; // elements that Start changes
};

TEST(StartLineIn, EveryChannelIsOnAfterStartAndNothingElseChanges) {
    const LineInCase cases[] = {
        {"0,0", "", {{"Line Playback Switch", {1, 1}}}},
        {"1,0", "", {{"Line Playback Switch", {1, 1}}}}, // only the right channel off
        {"1,1",
         "\"Loopback Mixing:e:1:0:Disabled|Enabled\"", // HD-Audio
         {{"Loopback Mixing", {1}}}},
        {"1,1", "", {}},
    };
    for (const LineInCase& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " " + c.extra);
        TempDir dir;
        TelvioFolder(dir);
        PrivateCards cards(CardList{{Onboard(c.line, c.extra), ""}});
        auto expected = cards.RawValues(0);
        for (const auto& [element, values] : c.changed) {
            expected[element] = values;
        }
        PressStart(cards, dir.path());
        EXPECT_EQ(cards.RawValues(0), expected);
    }
}

struct CardChoiceCase {
    CardList cards;
    std::string defaultCard;
    int unmuted; // the card whose line-in Start switches on
};

TEST(StartLineIn, TheDefaultCardWithAPlaybackMasterIsTheOneUnmuted) {
    const CardChoiceCase cases[] = {
        {{kCaptureOnly, {Onboard("0,0"), ""}}, "", 1},
        {{{Onboard("0,0"), ""}, {Onboard("0,0"), ""}}, "1", 1},
    };
    for (const CardChoiceCase& c : cases) {
        SCOPED_TRACE("default " + c.defaultCard);
        TempDir dir;
        TelvioFolder(dir);
        PrivateCards cards(c.cards, c.defaultCard);
        std::vector<std::map<std::string, std::vector<long>>> expected;
        for (std::size_t card = 0; card < c.cards.size(); ++card) {
            expected.push_back(cards.RawValues(static_cast<int>(card)));
        }
        expected[static_cast<std::size_t>(c.unmuted)]["Line Playback Switch"] = {1, 1};
        PressStart(cards, dir.path());
        for (std::size_t card = 0; card < c.cards.size(); ++card) {
            EXPECT_EQ(cards.RawValues(static_cast<int>(card)), expected[card]) << card;
        }
    }
}

// What a KFG run in a child process left behind.
struct ChildRun {
    int status = -1;               // Telvio's exit status after a hand-over, else kDialogEnded
    std::vector<QString> messages; // "caption: text" of each message box
};
constexpr int kDialogEnded = 70;

// Runs KFG's main dialog over `folder` in a child process, with the real program starter on
// `searchPath` and a sound card; `whileUp` acts on the main dialog, `onSide` on side dialogs.
// The child also holds a descriptor that is not close-on-exec, as a library may leave one.
ChildRun RunKfgInChild(const std::filesystem::path& folder, const std::string& searchPath,
                       const std::function<void(dialogs::CKfgDlg&)>& whileUp,
                       const std::function<void(framework::Dialog&)>& onSide = {}) {
    PrivateCards cards(CardList{{Onboard("1,1"), ""}});
    std::array<int, 2> report{};
    EXPECT_EQ(::pipe2(report.data(), O_CLOEXEC), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        [[maybe_unused]] const int stray = ::open("/dev/null", O_RDONLY);
        std::string told;
        {
            platform::SystemProgramStarter starter(searchPath);
            test::ModalScript script([&](framework::Dialog& d) {
                if (dialogs::CKfgDlg* main = dynamic_cast<dialogs::CKfgDlg*>(&d)) {
                    whileUp(*main);
                } else if (onSide) {
                    onSide(d);
                }
            });
            headless::MainDialogParts(
                std::make_shared<mixer::AlsaMixer>(std::make_unique<test::SharedCards>(cards)))
                .Run(folder, starter);
            for (const std::string& message : script.Messages()) {
                told += message + "\n";
            }
        }
        const QByteArray bytes = QByteArray::fromStdString(told);
        [[maybe_unused]] const ssize_t written = ::write(report[1], bytes.data(), bytes.size());
        ::_exit(kDialogEnded);
    }
    ::close(report[1]);
    ChildRun run;
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    QByteArray bytes;
    std::array<char, 4096> buffer{};
    for (ssize_t got; (got = ::read(report[0], buffer.data(), buffer.size())) > 0;) {
        bytes.append(buffer.data(), got);
    }
    ::close(report[0]);
    for (const QString& line : QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts)) {
        run.messages.push_back(line);
    }
    return run;
}

// A Telvio folder with the stand-ins: wine on `bin`, a native Telvio.exe and Sonora.exe.
std::string ProgramsFolder(const TempDir& dir, const std::string& kfg) {
    TelvioFolder(dir, kfg);
    std::filesystem::create_directory(dir / "bin");
    test::PlaceStandIn(dir / "bin" / "wine");
    test::PlaceStandIn(dir / "Telvio.exe");
    test::PlaceStandIn(dir / "Sonora.exe");
    return (dir / "bin").string();
}

TEST(StartPrograms, TelvioStartsAsSoonAsTheSoundInitialisationEnds) {
    TempDir dir;
    const std::string bin = ProgramsFolder(dir, "SoundInit=1\r\n");
    WriteBytes(dir / "linger", "4"); // wine's server stays on after the program ends
    const ChildRun run =
        RunKfgInChild(dir.path(), bin, [](dialogs::CKfgDlg& d) { d.Click(res::kIdStart); });
    const auto log = StandInLog(dir.path());
    test::EndLingeringHelper(dir.path());
    EXPECT_EQ(run.status, 0); // Telvio's
    EXPECT_TRUE(run.messages.empty());
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].command, "wine rundll32.exe bt848dlg.dll,initialize");
    EXPECT_EQ(log[1].command, "Telvio.exe Quick") << "Telvio waited for wine's server";
    EXPECT_EQ(log[1].children, ""); // no child of KFG is left at the hand-over
}

TEST(StartPrograms, StartedProgramsInheritOnlyTheStandardDescriptors) {
    TempDir dir;
    const std::string bin = ProgramsFolder(dir, "SoundInit=1\r\n");
    test::StartedSignal started(dir.path());
    const ChildRun run = RunKfgInChild(
        dir.path(), bin,
        [](dialogs::CKfgDlg& d) {
            d.Click(res::kIdAudioDecoder);
            d.Click(res::kIdStart);
        },
        [](framework::Dialog& side) {
            side.Click(res::kIdSonora);
            side.Click(framework::IDOK);
        });
    EXPECT_EQ(run.status, 0);
    ASSERT_TRUE(started.Wait()); // the decoder is not waited for
    std::map<std::string, std::string> fds;
    for (const test::StandInRun& program : StandInLog(dir.path())) {
        fds[program.command] = program.fds;
    }
    EXPECT_EQ(fds, (std::map<std::string, std::string>{
                       {"Sonora.exe", "0,1,2"},
                       {"wine rundll32.exe bt848dlg.dll,initialize", "0,1,2"},
                       {"Telvio.exe Quick", "0,1,2"}}));
}

TEST(StartPrograms, WithoutWineTheUserIsToldAndTheSettingsAreSaved) {
    TempDir dir;
    TelvioFolder(dir, "");
    WriteBytes(dir / "Telvio.exe", "MZ\x90 a Windows program");
    const ChildRun run = RunKfgInChild(dir.path(), "/nonexistent", [](dialogs::CKfgDlg& d) {
        d.SetItemText(res::kIdTestLines, "33");
        d.Click(res::kIdStart);
    });
    EXPECT_EQ(run.status, kDialogEnded);
    EXPECT_EQ(run.messages,
              std::vector<QString>{
                  "Fehler: Telvio.exe konnte nicht gestartet werden: wine ist nicht installiert"});
    EXPECT_NE(ReadBytes(dir / "Telvio.ini").find("Testzeilen=33\r\n"), std::string::npos);
}

} // namespace
} // namespace kfg
