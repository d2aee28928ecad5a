#pragma once

#include "dialogs/chooser/history_texts.h"
#include "dialogs/chooser/shown_paths.h"
#include "dialogs/chooser/state_change_texts.h"
#include "telvio/earlier_states.h"
#include "texts/text_language.h"

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kfg::settings {
class ProfileStore;
}

namespace kfg::dialogs {

// The window of a Telvio folder's earlier states: one row per kept state of "Telvio.ini" and
// "KFG.ini", newest first, with what the next save changed; the selected state against the
// file now, setting by setting; and the restore, which asks first and keeps what it replaces.
// Enter on a row restores nothing; Escape closes.
class HistoryWindow final : public QDialog {
public:
    // `store` holds the folder's files and its history. The window speaks `language`; it names
    // the settings as the main window does, in `captionLanguage`. Paths show as `shown` says.
    HistoryWindow(settings::ProfileStore& store, std::filesystem::path folder, ShownPaths shown,
                  texts::TextLanguage language, texts::TextLanguage captionLanguage,
                  QWidget* parent = nullptr);

    // Called after each restore with the file put back: an open main window loads it again.
    // A window that has one also says what of "KFG.ini" waits for the next start.
    void SetRestored(std::function<void(std::string_view file)> restored) {
        restored_ = std::move(restored);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Fill();
    void ShowDifferences();
    void SetStatus(const QString& text);
    void RestoreSelected();
    // Asks `question`; true for yes. No is the default and the answer to Escape.
    bool Ask(const QString& question) const;
    void Tell(const QString& message) const;
    const telvio::ListedState* Selected() const;
    QString ShownTime(const telvio::ListedState& state) const;
    QString Say(HistoryText text) const { return HistoryTextIn(text, language_); }
    std::string NowBytes(std::string_view file) const;
    ChangeNaming Naming() const;

    settings::ProfileStore& store_;
    std::filesystem::path folder_;
    ShownPaths shown_;
    texts::TextLanguage language_;
    texts::TextLanguage captionLanguage_;
    telvio::EarlierStates states_;
    std::vector<telvio::ListedState> listed_;
    std::function<void(std::string_view)> restored_;
    QTreeWidget* list_ = nullptr;
    QTreeWidget* table_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* restore_ = nullptr;
};

// The captions' language "KFG.ini" of `folder` asks for at start-up, as the main window would
// show the folder's settings.
texts::TextLanguage FolderCaptionLanguage(settings::ProfileStore& store,
                                          const std::filesystem::path& folder);

} // namespace kfg::dialogs
