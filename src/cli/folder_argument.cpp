#include "cli/folder_argument.h"

#include "platform/no_repeats.h"
#include "texts/command_line_texts.h"

#include <array>
#include <system_error>
#include <unistd.h>

namespace kfg::cli {
namespace {

struct SentenceRow {
    FolderRefusal refusal;
    const texts::Texts* sentence;
};

constexpr auto kSentences = std::to_array<SentenceRow>({
    {FolderRefusal::None, nullptr},
    {FolderRefusal::Missing, &texts::kFolderMissing},
    {FolderRefusal::NotAFolder, &texts::kNotAFolder},
    {FolderRefusal::NotEntered, &texts::kFolderNotEntered},
});

static_assert(platform::RowPerEnumerator(
                  kSentences, [](const auto& row) { return row.refusal; },
                  FolderRefusal::NotEntered),
              "one row per refusal, in the order of the enumeration");

} // namespace

FolderRefusal CheckFolderArgument(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return FolderRefusal::Missing;
    }
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return FolderRefusal::Missing;
    }
    if (error) {
        // A folder on the way that may not be entered hides whether it is there.
        return error == std::errc::permission_denied ? FolderRefusal::NotEntered
                                                     : FolderRefusal::Missing;
    }
    if (!std::filesystem::is_directory(status)) {
        return FolderRefusal::NotAFolder;
    }
    return ::access(folder.c_str(), X_OK) == 0 ? FolderRefusal::None : FolderRefusal::NotEntered;
}

std::string FolderRefusalText(FolderRefusal refusal, std::string_view shown,
                              texts::TextLanguage language) {
    const texts::Texts* sentence = kSentences[static_cast<std::size_t>(refusal)].sentence;
    return sentence == nullptr ? std::string() : texts::FillIn(sentence->In(language), {shown});
}

} // namespace kfg::cli
