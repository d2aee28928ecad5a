#include "dialogs/chooser/folder_chooser_texts.h"

#include <array>

namespace kfg::dialogs {
namespace {

// In the order of ChooserText.
constexpr auto kTexts = std::to_array<texts::Texts>({
    {"KFG \u2013 Choose the Telvio folder", "KFG \u2013 Telvio-Ordner w\u00e4hlen",
     "KFG \u2013 Elegir la carpeta de Telvio"},
    {"&Telvio folders:", "&Telvio-Ordner:", "Carpetas de &Telvio:"},
    {"Edition", "Ausgabe", "Edici\u00f3n"},
    {"Folder", "Ordner", "Carpeta"},
    {"Searching the wine prefixes\u2026", "Die Wine-Pr\u00e4fixe werden durchsucht \u2026",
     "Buscando en los prefijos de Wine\u2026"},
    {"Choose the folder to set up.", "W\u00e4hlen Sie den Ordner, der eingerichtet werden soll.",
     "Elija la carpeta que quiere configurar."},
    {"No Telvio folder was found. KFG looked in:\n%1",
     "Kein Telvio-Ordner gefunden. KFG hat gesucht in:\n%1",
     "No se encontr\u00f3 ninguna carpeta de Telvio. KFG busc\u00f3 en:\n%1"},
    {"%1 holds no Telvio.ini. Choose the folder that holds it.",
     "In %1 liegt keine Telvio.ini. W\u00e4hlen Sie den Ordner, in dem sie liegt.",
     "%1 no contiene ning\u00fan Telvio.ini. Elija la carpeta que lo contiene."},
    {"&Open", "\u00d6&ffnen", "&Abrir"},
    {"Other &folder\u2026", "Anderer &Ordner \u2026", "Otra &carpeta\u2026"},
    {"Cancel", "Abbrechen", "Cancelar"},
    {"Choose the Telvio folder", "Telvio-Ordner w\u00e4hlen", "Elegir la carpeta de Telvio"},
    {"the folders KFG ran in before", "den zuletzt benutzten Ordnern", "las carpetas usadas antes"},
    {"&Earlier states\u2026", "Fr\u00fchere &St\u00e4nde \u2026", "&Estados anteriores\u2026"},
});
static_assert(kTexts.size() == static_cast<std::size_t>(ChooserText::EarlierStates) + 1,
              "one row per text");

} // namespace

QString ChooserTextIn(ChooserText text, texts::TextLanguage language) {
    return QString::fromUtf8(kTexts[static_cast<std::size_t>(text)].In(language));
}

} // namespace kfg::dialogs
