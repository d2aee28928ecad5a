// Time from process start to the first paint of the main dialog, beside a bare Qt dialog with
// as many widgets of the same kinds in the same places and sizes (drop-down boxes editable where
// KFG's are), showing those KFG's window shows, and the same modality, measured in the same run.
// Each round starts a fresh process of this program for either side, alternating, and reports the
// median. With --instructions, each side runs once under callgrind instead and the instructions to
// the first paint are reported.
#include "app/application_identity.h"
#include "app/kfg_app.h"
#include "dialogs/main/edition_layout.h"
#include "framework/dialog_units.h"
#include "framework/modal_hook.h"
#include "headless/headless_application.h"
#include "res/template_102.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Sets `painted` once the watched window has painted.
class PaintWatch final : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Waits until the window has painted its first frame, writes the moment it was flushed (the
// steady clock, which all processes share) to `stampFile` and ends the process: what follows
// the first paint is not measured, and callgrind's count ends here too.
[[noreturn]] void WaitForPaint(QWidget* window, const char* stampFile) {
    PaintWatch watch;
    window->installEventFilter(&watch);
    window->update();
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 10'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const auto painted = std::chrono::steady_clock::now().time_since_epoch();
    window->removeEventFilter(&watch);
    if (FILE* out = std::fopen(stampFile, "w")) {
        std::fprintf(out, "%lld\n",
                     static_cast<long long>(
                         std::chrono::duration_cast<std::chrono::nanoseconds>(painted).count()));
        std::fclose(out);
    }
    std::_Exit(0);
}

// As kfg's own start does, with a state folder of its own in place of the user's.
int RunKfg(int argc, char** argv, const fs::path& folder, const char* stampFile) {
    kfg::headless::HeadlessApplication application(argc, argv);
    kfg::app::IdentifyApplication();
    kfg::framework::ScopedModalHook hook(
        [stampFile](kfg::framework::ModalView& view) { WaitForPaint(view.Widget(), stampFile); });
    kfg::app::CKfgApp(folder, kfg::platform::StateFolder(folder.parent_path() / "state"))
        .InitInstance();
    return 1; // the hook ends the process
}

int RunBare(int argc, char** argv, const char* stampFile) {
    kfg::headless::HeadlessApplication application(argc, argv);
    QDialog dialog;
    // The pixels of KFG's window: its dialog units, its size, its boxes' closed height.
    const kfg::framework::DialogTemplate& dialogTemplate = kfg::res::MainDialogTemplate();
    const kfg::framework::DialogUnits units(QApplication::font());
    dialog.setFixedSize(units.X(dialogTemplate.width), units.Y(dialogTemplate.height));
    std::map<int, QWidget*> widgets;
    for (const kfg::framework::ControlTemplate& control : dialogTemplate.controls) {
        using kfg::framework::ControlKind;
        QWidget* widget = nullptr;
        const QString caption = QString::fromUtf8(control.caption.data(),
                                                  static_cast<qsizetype>(control.caption.size()));
        switch (control.kind) {
        case ControlKind::PushButton:
            widget = new QPushButton(caption, &dialog);
            break;
        case ControlKind::CheckBox:
            widget = new QCheckBox(caption, &dialog);
            break;
        case ControlKind::RadioButton:
            widget = new QRadioButton(caption, &dialog);
            break;
        case ControlKind::GroupBox:
            widget = new QGroupBox(caption, &dialog);
            break;
        case ControlKind::Label:
        case ControlKind::Picture:
            widget = new QLabel(caption, &dialog);
            break;
        case ControlKind::Edit:
            widget = new QLineEdit(caption, &dialog);
            break;
        case ControlKind::ComboBox: {
            // An editable box carries an edit field and a completer: the same widget is one
            // that is editable too.
            auto* combo = new QComboBox(&dialog);
            combo->setEditable(kfg::framework::HasStyle(control, kfg::framework::kEditable));
            widget = combo;
            break;
        }
        case ControlKind::Spin:
            widget = new QToolButton(&dialog);
            break;
        }
        QRect rect = units.ToPixels(control.rect);
        if (control.kind == ControlKind::ComboBox) { // the template's height includes the list
            rect.setHeight(std::max(units.Y(12), dialog.fontMetrics().height() + 6));
        }
        widget->setGeometry(rect);
        widgets[control.id] = widget;
        if (kfg::framework::HasStyle(control, kfg::framework::kHidden)) {
            widget->hide();
        }
    }
    // The controls KFG's window shows over a V320 folder, no more: the others cost no paint.
    const kfg::telvio::EditionMask v320 = kfg::telvio::Bit(kfg::telvio::Edition::V320);
    for (const kfg::dialogs::LayoutRow& row : kfg::dialogs::EditionLayoutTable()) {
        if ((row.touchedIn & v320) != 0 && (row.shownIn & v320) == 0) {
            widgets[row.id]->hide();
        }
    }
    // KFG's window is application-modal, and Qt activates such a window as soon as it is mapped
    // and repaints its focus right after the first frame; the bare one must pay for that too.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    WaitForPaint(&dialog, stampFile);
}

// Starts this program as `args` and returns the milliseconds from the start to the child's
// first painted frame; negative when the child failed.
double RunChild(const char* self, std::vector<std::string> args, const fs::path& stampFile) {
    args.push_back(stampFile.string());
    std::vector<char*> argv{const_cast<char*>(self)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    fs::remove(stampFile);
    const auto start = std::chrono::steady_clock::now().time_since_epoch();
    pid_t child = 0;
    if (posix_spawn(&child, self, nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    long long painted = 0;
    FILE* in = std::fopen(stampFile.c_str(), "r");
    const bool stamped = in != nullptr && std::fscanf(in, "%lld", &painted) == 1;
    if (in != nullptr) {
        std::fclose(in);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !stamped) {
        return -1;
    }
    return static_cast<double>(
               painted - std::chrono::duration_cast<std::chrono::nanoseconds>(start).count()) /
           1e6;
}

// Runs this program as `args` under callgrind; the instructions it counted, 0 when it failed.
long long InstructionsOf(const std::string& self, const std::string& args) {
    const std::string command =
        "valgrind --tool=callgrind --callgrind-out-file=/dev/null '" + self + "' " + args + " 2>&1";
    FILE* output = popen(command.c_str(), "r");
    if (output == nullptr) {
        return 0;
    }
    long long instructions = 0;
    char line[512];
    while (std::fgets(line, sizeof line, output) != nullptr) {
        if (const char* collected = std::strstr(line, "Collected :")) {
            instructions = std::atoll(collected + std::strlen("Collected :"));
        }
    }
    return pclose(output) == 0 ? instructions : 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--child-kfg") == 0) {
        return RunKfg(1, argv, argv[2], argv[3]);
    }
    if (argc >= 3 && std::strcmp(argv[1], "--child-bare") == 0) {
        return RunBare(1, argv, argv[2]);
    }
    // The children inherit the platform.
    kfg::headless::UsePlatform(kfg::headless::Platform::OffscreenUnlessChosen);
    const fs::path folder = fs::temp_directory_path() / ("kfg-startup-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy(fs::path(KFG_EXAMPLES_DIR) / "V320", folder / "V320", fs::copy_options::recursive);
    const fs::path stampFile = folder / "painted.stamp";
    const std::string self = fs::read_symlink("/proc/self/exe").string();

    if (argc >= 2 && std::strcmp(argv[1], "--instructions") == 0) {
        const long long kfg = InstructionsOf(self, "--child-kfg '" + (folder / "V320").string() +
                                                       "' '" + stampFile.string() + "'");
        const long long bare = InstructionsOf(self, "--child-bare '" + stampFile.string() + "'");
        fs::remove_all(folder);
        if (kfg == 0 || bare == 0) {
            std::fprintf(stderr, "a child process failed under valgrind --tool=callgrind\n");
            return 1;
        }
        std::printf("Instructions from process start to first paint, %s (callgrind):\n",
                    std::getenv("QT_QPA_PLATFORM"));
        std::printf("  KFG main dialog over a V320 folder: %6.1f M\n",
                    static_cast<double>(kfg) / 1e6);
        std::printf("  bare Qt dialog:                     %6.1f M\n",
                    static_cast<double>(bare) / 1e6);
        std::printf("  KFG / bare: %.2fx\n", static_cast<double>(kfg) / static_cast<double>(bare));
        return 0;
    }

    // A loaded machine wants more rounds: kfg_startup_benchmark --rounds 41.
    const int kRounds =
        argc >= 3 && std::strcmp(argv[1], "--rounds") == 0 ? std::max(1, std::atoi(argv[2])) : 15;
    std::vector<double> kfgTimes;
    std::vector<double> bareTimes;
    for (int round = 0; round < kRounds; ++round) {
        const double kfgTime =
            RunChild(self.c_str(), {"--child-kfg", (folder / "V320").string()}, stampFile);
        const double bareTime = RunChild(self.c_str(), {"--child-bare"}, stampFile);
        if (kfgTime < 0 || bareTime < 0) {
            std::fprintf(stderr, "a child process failed\n");
            return 1;
        }
        kfgTimes.push_back(kfgTime);
        bareTimes.push_back(bareTime);
    }
    fs::remove_all(folder);
    std::printf("Process start to first paint, %s, median of %d runs each:\n",
                std::getenv("QT_QPA_PLATFORM"), kRounds);
    std::printf("  KFG main dialog over a V320 folder: %7.1f ms (min %.1f)\n", Median(kfgTimes),
                *std::min_element(kfgTimes.begin(), kfgTimes.end()));
    std::printf("  bare Qt dialog, %zu widgets:       %7.1f ms (min %.1f)\n",
                kfg::res::MainDialogTemplate().controls.size(), Median(bareTimes),
                *std::min_element(bareTimes.begin(), bareTimes.end()));
    std::printf("  KFG / bare: %.2fx\n", Median(kfgTimes) / Median(bareTimes));
    return 0;
}
