#pragma once

#include "framework/dialog.h"
#include "texts/text_language.h"

#include <filesystem>

namespace kfg::settings {
class ProfileStore;
}
namespace kfg::platform {
class ProgramStarter;
}

namespace kfg::dialogs {

// Lets the user tick the display modes Telvio offers on this machine; stores them as the
// [KFG] keys "0".."20" (only ever "1").
class CDisplayModeDlg final : public framework::Dialog {
public:
    CDisplayModeDlg(settings::ProfileStore& store, std::filesystem::path workingDirectory);
    void OnSaveAndClose();

protected:
    bool OnInitDialog() override;
    void OnClose() override;

private:
    settings::ProfileStore& store_;
    std::filesystem::path managerFile_;
    // The captions' language, also of the failure message.
    texts::TextLanguage language_ = texts::TextLanguage::German;
};

// Asks for the caption language; stores [KFG] "Fr" ("1" Spanish, "0" German).
class CLanguageDlg final : public framework::Dialog {
public:
    CLanguageDlg(settings::ProfileStore& store, std::filesystem::path workingDirectory);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    settings::ProfileStore& store_;
    std::filesystem::path managerFile_;
};

// Chooses the audio decoder: OK starts it and, with the box ticked, remembers it in [KFG]
// "Audio" for the automatic start.
class CAudioDecoderDlg final : public framework::Dialog {
public:
    CAudioDecoderDlg(settings::ProfileStore& store, platform::ProgramStarter& starter,
                     std::filesystem::path workingDirectory);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    settings::ProfileStore& store_;
    platform::ProgramStarter& starter_;
    std::filesystem::path workingDirectory_;
    int DecoderChoice = 0; // 0 none, 1 Sonora, 2 Tonalix
    // The captions' language, also of the failure message.
    texts::TextLanguage language_ = texts::TextLanguage::German;
};

// The decoder programs by choice; nothing for other values.
const char* DecoderProgram(int choice);

} // namespace kfg::dialogs
