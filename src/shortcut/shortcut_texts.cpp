#include "shortcut/shortcut_texts.h"

#include "platform/no_repeats.h"
#include "texts/command_line_texts.h"

#include <array>

namespace kfg::shortcut {
namespace {

using texts::Texts;

struct MessageRow {
    Message message;
    Texts text;
};

constexpr auto kMessages = std::to_array<MessageRow>({
    {Message::NoFolderGiven,
     {"name the Telvio folder", "den Telvio-Ordner angeben", "indique la carpeta de Telvio"}},
    {Message::TwoFolders,
     {"give one folder", "nur einen Ordner angeben", "indique una sola carpeta"}},
    {Message::SeeHelp,
     {"Try 'kfg-shortcut --help'.", "Siehe 'kfg-shortcut --help'.",
      "Véase 'kfg-shortcut --help'."}},
    {Message::NotAFolder, texts::kNotAFolder},
    {Message::NoTelvioIni, texts::kTelvioIniMissing},
    {Message::PathNotUtf8,
     {"\"%1\": the folder's path is not valid UTF-8, which a menu entry cannot hold",
      "\"%1\": der Pfad des Ordners ist kein gültiges UTF-8, das kann ein Menüeintrag nicht "
      "aufnehmen",
      "\"%1\": la ruta de la carpeta no es UTF-8 válido, que una entrada de menú no puede "
      "contener"}},
    {Message::PathHasControl,
     {"\"%1\": the folder's path holds a control character, which a menu entry cannot hold",
      "\"%1\": der Pfad des Ordners enthält ein Steuerzeichen, das kann ein Menüeintrag nicht "
      "aufnehmen",
      "\"%1\": la ruta de la carpeta contiene un carácter de control, que una entrada de menú "
      "no puede contener"}},
    {Message::NoDataHome,
     {"neither XDG_DATA_HOME nor HOME is an absolute path",
      "weder XDG_DATA_HOME noch HOME ist ein absoluter Pfad",
      "ni XDG_DATA_HOME ni HOME es una ruta absoluta"}},
    {Message::NoEntry,
     {"\"%1\": there is no menu entry for this folder",
      "\"%1\": für diesen Ordner gibt es keinen Menüeintrag",
      "\"%1\": no hay ninguna entrada de menú para esta carpeta"}},
    {Message::FolderUnusable, {"\"%1\": %2", "\"%1\": %2", "\"%1\": %2"}},
    {Message::EntryNotRemoved,
     {"%1 could not be removed: %2", "%1 konnte nicht entfernt werden: %2",
      "No se pudo borrar %1: %2"}},
    {Message::EntryWritten,
     {"Wrote the menu entry %1", "Menüeintrag %1 geschrieben", "Entrada de menú %1 escrita"}},
    {Message::EntryRemoved,
     {"Removed the menu entry %1", "Menüeintrag %1 entfernt", "Entrada de menú %1 borrada"}},
});

static_assert(platform::RowPerEnumerator(
                  kMessages, [](const auto& row) { return row.message; }, Message::EntryRemoved),
              "one row per message, in the order of the enumeration");

} // namespace

std::string Text(Message message, texts::TextLanguage language,
                 std::initializer_list<std::string_view> values) {
    return texts::FillIn(kMessages[static_cast<std::size_t>(message)].text.In(language), values);
}

} // namespace kfg::shortcut
