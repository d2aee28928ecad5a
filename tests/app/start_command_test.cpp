// The start button as a user meets it: a sound card behind the real ALSA backend (the suite's
// fake card), and real programs (stand-ins for wine, the sound initialisation and Telvio) run
// by the real program starter. A hand-over replaces the process, so those runs happen in a
// child process, and what they did is read from the stand-ins' log and the files afterwards.
#include "dialogs/main/kfg_dlg.h"
#include "mixer/alsa_mixer.h"
#include "platform/program_starter.h"
#include "res/template_102.h"
#include "support/child_process.h"
#include "support/kfg_run.h"
#include "support/private_cards.h"
#include "support/stand_in.h"
#include "support/temp_dir.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace kfg::test {
namespace {

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
const PrivateCards::Card kCaptureOnly{
    .elements =
        "\"Capture Switch:b:2:1,1\" \"Capture Volume:i:2:5,5\" \"Line Capture Switch:b:2:0,0\""};

struct LineInCase {
    CardList cards;
    std::string defaultCard = {};
    std::size_t unmuted;                              // the card whose line-in Start switches on
    std::map<std::string, std::vector<long>> changed; // its elements that Start changes
    const char* lineIn = "1";                         // the user asks for line-in
};

// When the user asks for it, line-in of the default card with a playback master has every
// channel on after Start; nothing else changes.
TEST(StartLineIn, LineInOfTheDefaultPlaybackCardIsOnAfterStartAndNothingElseChanges) {
    const std::map<std::string, std::vector<long>> lineOn{{"Line Playback Switch", {1, 1}}};
    const char* const loopback = "\"Loopback Mixing:e:1:0:Disabled|Enabled\""; // HD-Audio
    const LineInCase cases[] = {
        {.cards = {{.elements = Onboard("0,0")}}, .unmuted = 0, .changed = lineOn},
        // Only the right channel off.
        {.cards = {{.elements = Onboard("1,0")}}, .unmuted = 0, .changed = lineOn},
        {.cards = {{.elements = Onboard("1,1", loopback)}},
         .unmuted = 0,
         .changed = {{"Loopback Mixing", {1}}}},
        // Not asked for.
        {.cards = {{.elements = Onboard("0,0")}}, .unmuted = 0, .changed = {}, .lineIn = "0"},
        {.cards = {kCaptureOnly, {.elements = Onboard("0,0")}}, .unmuted = 1, .changed = lineOn},
        {.cards = {{.elements = Onboard("0,0")}, {.elements = Onboard("0,0")}},
         .defaultCard = "1",
         .unmuted = 1,
         .changed = lineOn},
    };
    for (const LineInCase& c : cases) {
        SCOPED_TRACE(std::string("LineIn=") + c.lineIn + " default " + c.defaultCard + " " +
                     c.cards.back().elements);
        TelvioFolder dir(kV31, "[KFG]\r\nFr=0\r\nLineIn=" + std::string(c.lineIn) + "\r\n");
        PrivateCards cards(c.cards, c.defaultCard);
        std::vector<std::map<std::string, std::vector<long>>> expected;
        for (std::size_t card = 0; card < c.cards.size(); ++card) {
            expected.push_back(cards.RawValues(static_cast<int>(card)));
        }
        for (const auto& [element, values] : c.changed) {
            expected[c.unmuted][element] = values;
        }
        KfgRun run(
            dir.path(), [](dialogs::CKfgDlg& d) { d.Click(res::kIdStart); }, {},
            {.card = std::make_shared<mixer::AlsaMixer>(std::make_unique<SharedCards>(cards))});
        for (std::size_t card = 0; card < c.cards.size(); ++card) {
            EXPECT_EQ(cards.RawValues(static_cast<int>(card)), expected[card]) << card;
        }
    }
}

// Runs KFG's main dialog over `folder` in a child process, with the real program starter on
// `searchPath` and a sound card, clicks Start, and returns the child's exit status: Telvio's
// after a hand-over, 70 without one. The child also holds a descriptor that is not
// close-on-exec, as a library may leave one.
int StartInChild(const std::filesystem::path& folder, const std::string& searchPath) {
    PrivateCards cards(CardList{{.elements = Onboard("1,1")}});
    return RunInChild([&] {
        [[maybe_unused]] const int stray = ::open("/dev/null", O_RDONLY);
        platform::SystemProgramStarter starter(searchPath);
        ModalScript script([](framework::Dialog& d) {
            if (dialogs::CKfgDlg* main = dynamic_cast<dialogs::CKfgDlg*>(&d)) {
                main->Click(res::kIdStart);
            }
        });
        headless::MainDialogParts(
            std::make_shared<mixer::AlsaMixer>(std::make_unique<SharedCards>(cards)))
            .Run(folder, starter);
        return 70;
    });
}

// The decoder, the sound initialisation and Telvio are Windows programs here: each runs
// through wine from the search path and gets the standard descriptors only. Telvio starts as
// soon as the sound initialisation ends, not when wine's server does, and no child of KFG is
// left at the hand-over.
TEST(StartPrograms, ProgramsRunThroughWineWithOnlyTheStandardDescriptors) {
    TelvioFolder dir(kV31, "[KFG]\r\nFr=0\r\nAudio=1\r\nSoundInit=1\r\n");
    std::filesystem::create_directory(dir / "bin");
    PlaceStandIn(dir / "bin" / "wine");
    WriteBytes(dir / "Sonora.exe", "MZ\x90 a Windows program");
    WriteBytes(dir / "Telvio.exe", "MZ\x90 a Windows program");
    WriteBytes(dir / "linger", "4"); // wine's server stays on after the program ends
    StartedSignal started(dir.path());
    EXPECT_EQ(StartInChild(dir.path(), (dir / "bin").string()), 0); // Telvio's
    for (int program = 0; program < 3; ++program) {
        ASSERT_TRUE(started.Wait()); // the decoder is not waited for
    }
    std::map<std::string, std::string> fds;
    for (const StandInRun& program : StandInLog(dir.path())) {
        fds[program.command] = program.fds;
        EXPECT_EQ(program.children, "") << program.command;
    }
    EndLingeringHelper(dir.path());
    EXPECT_EQ(fds, (std::map<std::string, std::string>{
                       {"wine ./Sonora.exe", "0,1,2"},
                       {"wine rundll32.exe bt848dlg.dll,initialize", "0,1,2"},
                       {"wine ./Telvio.exe Quick", "0,1,2"}}));
}

} // namespace
} // namespace kfg::test
