#include "texts/kept_state_texts.h"

#include "platform/failure_cause.h"
#include "platform/private_folder.h"
#include "texts/failure_reasons.h"

#include <array>

namespace kfg::texts {
namespace {

using platform::PrivateFolderErrc;
using texts::Texts;

struct ReasonRow {
    PrivateFolderErrc problem;
    Texts text; // %1: the folder
};

constexpr auto kReasons = std::to_array<ReasonRow>({
    {PrivateFolderErrc::NoStateFolder,
     {"neither XDG_STATE_HOME nor HOME names a folder",
      "weder XDG_STATE_HOME noch HOME nennt einen Ordner",
      "ni XDG_STATE_HOME ni HOME indican una carpeta"}},
    {PrivateFolderErrc::Link,
     {"%1 is a symbolic link", "%1 ist ein symbolischer Link", "%1 es un enlace simbólico"}},
    {PrivateFolderErrc::NotOwned,
     {"%1 belongs to another user", "%1 gehört einem anderen Benutzer",
      "%1 pertenece a otro usuario"}},
    {PrivateFolderErrc::OpenToOthers,
     {"other users may write into %1", "andere Benutzer dürfen in %1 schreiben",
      "otros usuarios pueden escribir en %1"}},
    {PrivateFolderErrc::NotRegularFile,
     {"%1 holds something that is no file", "%1 enthält etwas, das keine Datei ist",
      "%1 contiene algo que no es un fichero"}},
});

// %1: the folder, %2: the system's reason.
constexpr Texts kNotWritable{"%1 cannot be written: %2", "%1 ist nicht beschreibbar: %2",
                             "no se puede escribir en %1: %2"};
constexpr Texts kNothingKept{"no earlier state can be kept: %1",
                             "es kann kein früherer Stand aufbewahrt werden: %1",
                             "no se puede conservar ningún estado anterior: %1"};

} // namespace

std::string KeepProblemReason(const std::error_code& error, const std::filesystem::path& folder,
                              texts::TextLanguage language) {
    const std::string where = folder.string();
    if (error.category() == platform::PrivateFolderCategory()) {
        for (const ReasonRow& row : kReasons) {
            if (static_cast<int>(row.problem) == error.value()) {
                return texts::FillIn(row.text.In(language), {where});
            }
        }
    }
    return texts::FillIn(
        kNotWritable.In(language),
        {where, texts::FailureReason(platform::SortWriteFailure(error), language)});
}

std::string NothingKeptMessage(const std::error_code& error, const std::filesystem::path& folder,
                               texts::TextLanguage language) {
    return texts::FillIn(kNothingKept.In(language), {KeepProblemReason(error, folder, language)});
}

} // namespace kfg::texts
