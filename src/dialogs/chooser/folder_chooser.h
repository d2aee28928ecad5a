#pragma once

#include "dialogs/chooser/shown_paths.h"
#include "places/telvio_folder.h"
#include "places/wine_prefix_search.h"
#include "platform/state_folder.h"
#include "texts/text_language.h"

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kfg::dialogs {

// What the chooser lists and where it looks.
struct FolderChooserSources {
    platform::StateFolder stateFolder; // its list of the folders KFG ran in
    places::WinePrefixPlaces wine;     // where the wine prefixes to search are
    std::vector<QString> placesLooked; // said when nothing is found
    std::filesystem::path home;        // shown as "~"
};

// The window of `kfg --choose-folder`: lists the folders KFG ran in before and the Telvio
// folders of the user's wine prefixes, and gives back the one the user opens. The search runs
// on a thread of its own, so the window shows at once and never freezes; closing the window
// stops it.
class FolderChooser final : public QDialog {
public:
    using Entry = places::FolderEdition;
    // Asks the desktop for a folder; nothing when the user cancels. Tests put their own in.
    using FolderQuestion = std::function<std::optional<std::filesystem::path>(QWidget* parent)>;

    FolderChooser(FolderChooserSources sources, texts::TextLanguage language,
                  QWidget* parent = nullptr);

    void SetFolderQuestion(FolderQuestion question) { askFolder_ = std::move(question); }
    // Opens the window of earlier states of a folder over the chooser, in its language.
    using HistoryOpener = std::function<void(const std::filesystem::path& folder,
                                             texts::TextLanguage language, QWidget* parent)>;
    // The button "Earlier states…" opens it for the selected folder; without one, no button.
    void SetHistoryOpener(HistoryOpener opener);
    // Called on the window's thread once the search has ended (tests wait for it).
    void SetSearchFinished(std::function<void()> finished) {
        searchFinished_ = std::move(finished);
    }

    // The folder the user opened; set when the window ended with Accepted.
    const std::optional<std::filesystem::path>& ChosenFolder() const { return chosen_; }

private:
    void Search(std::stop_token stop);
    void AddEntries(const std::vector<Entry>& entries);
    void FinishSearch();
    void OpenSelected();
    void OpenOther();
    void OpenHistory();
    void Choose(const std::filesystem::path& folder);

    FolderChooserSources sources_;
    ShownPaths shown_;
    texts::TextLanguage language_;
    FolderQuestion askFolder_;
    std::function<void()> searchFinished_;
    std::optional<std::filesystem::path> chosen_;
    QTreeWidget* list_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* history_ = nullptr;
    HistoryOpener openHistory_;
    std::jthread search_; // last: stopped and joined before the widgets go
};

} // namespace kfg::dialogs
