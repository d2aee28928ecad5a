#include "dialogs/chooser/history_texts.h"

#include <array>

namespace kfg::dialogs {
namespace {

// In the order of HistoryText.
constexpr auto kTexts = std::to_array<texts::Texts>({
    {"Earlier states \u2013 %1", "Fr\u00fchere St\u00e4nde \u2013 %1",
     "Estados anteriores \u2013 %1"},
    {"&Earlier states:", "&Fr\u00fchere St\u00e4nde:", "&Estados anteriores:"},
    {"Replaced", "Ersetzt am", "Reemplazado"},
    {"File", "Datei", "Fichero"},
    {"Changed then", "Damals ge\u00e4ndert", "Cambiado entonces"},
    {"&Differences from the file now:", "&Unterschiede zur jetzigen Datei:",
     "&Diferencias con el fichero actual:"},
    {"Setting", "Einstellung", "Ajuste"},
    {"In the state", "Im Stand", "En el estado"},
    {"Now", "Jetzt", "Ahora"},
    {"Restore", "Wiederherstellen", "Restaurar"},
    {"Close", "Schlie\u00dfen", "Cerrar"},
    {"+%1 more", "+%1 weitere", "+%1 m\u00e1s"},
    {"%1 %2 \u2192 %3", "%1 %2 \u2192 %3", "%1 %2 \u2192 %3"},
    {"%1: %2", "%1: %2", "%1: %2"},
    {"%1 saved", "%1 gespeichert", "%1 guardada"},
    {"%1 deleted", "%1 gel\u00f6scht", "%1 eliminada"},
    {"[%1] added", "[%1] hinzugef\u00fcgt", "[%1] a\u00f1adida"},
    {"[%1] removed", "[%1] entfernt", "[%1] eliminada"},
    {"present", "vorhanden", "existe"},
    {"The file holds this state now.", "Die Datei hat jetzt diesen Stand.",
     "El fichero tiene ahora este estado."},
    {"No earlier state is kept yet. KFG keeps them in %1.",
     "Noch ist kein fr\u00fcherer Stand aufbewahrt. KFG bewahrt sie in %1 auf.",
     "Todav\u00eda no se conserva ning\u00fan estado anterior. KFG los conserva en %1."},
    {"KFG keeps them in %1.", "KFG bewahrt sie in %1 auf.", "KFG los conserva en %1."},
    {"Choose a state to see how it differs from the file now.",
     "W\u00e4hlen Sie einen Stand, um zu sehen, wie er sich von der jetzigen Datei "
     "unterscheidet.",
     "Elija un estado para ver en qu\u00e9 se diferencia del fichero actual."},
    {"Put %1 back to its state of %2? What it holds now is kept first.",
     "%1 auf den Stand vom %2 zur\u00fccksetzen? Der jetzige Inhalt wird vorher aufbewahrt.",
     "\u00bfRestaurar el estado de %1 del %2? El contenido actual se conserva antes."},
    {"It removes these configurations: %1", "Dabei werden diese Konfigurationen entfernt: %1",
     "Se eliminan estas configuraciones: %1"},
    {"It changes these configurations back: %1",
     "Diese Konfigurationen werden zur\u00fcckgesetzt: %1",
     "Estas configuraciones vuelven a su estado anterior: %1"},
    {"This state is of Telvio %1, the file now of Telvio %2. Restore it all the same?",
     "Dieser Stand ist von Telvio %1, die Datei jetzt von Telvio %2. Trotzdem "
     "wiederherstellen?",
     "Este estado es de Telvio %1 y el fichero actual, de Telvio %2. \u00bfRestaurarlo de "
     "todos modos?"},
    {"Telvio.ini now does not tell which Telvio wrote it. Restore the state all the same?",
     "Der jetzigen Telvio.ini ist nicht anzusehen, welches Telvio sie schrieb. Den Stand "
     "trotzdem wiederherstellen?",
     "El Telvio.ini actual no deja ver qu\u00e9 Telvio lo escribi\u00f3. \u00bfRestaurar el "
     "estado de todos modos?"},
    {"Yes", "Ja", "S\u00ed"},
    {"No", "Nein", "No"},
    {"%1 is back at its state of %2.", "%1 hat wieder den Stand vom %2.",
     "%1 vuelve a tener el estado del %2."},
    {"The configurations follow at once; the language, the display modes offered and the "
     "sound options take effect at KFG's next start.",
     "Die Konfigurationen gelten sofort; Sprache, angebotene Anzeigemodi und Tonoptionen ab "
     "dem n\u00e4chsten Start von KFG.",
     "Las configuraciones se aplican en seguida; el idioma, los modos de pantalla ofrecidos y "
     "las opciones de sonido, en el pr\u00f3ximo inicio de KFG."},
    {"%2 was not put back to its state of %1: what it holds now cannot be kept (%3).",
     "%2 wurde nicht auf den Stand vom %1 zur\u00fcckgesetzt: der jetzige Inhalt kann nicht "
     "aufbewahrt werden (%3).",
     "No se ha restaurado el estado de %2 del %1: el contenido actual no se puede conservar "
     "(%3)."},
    {"The state of %2 of %1 cannot be read (%3).",
     "Der Stand von %2 vom %1 kann nicht gelesen werden (%3).",
     "El estado de %2 del %1 no se puede leer (%3)."},
    {"Earlier states\u2026", "Fr\u00fchere St\u00e4nde \u2026", "Estados anteriores\u2026"},
});
static_assert(kTexts.size() == static_cast<std::size_t>(HistoryText::EarlierStatesEntry) + 1,
              "one row per text");

} // namespace

QString HistoryTextIn(HistoryText text, texts::TextLanguage language) {
    return QString::fromUtf8(kTexts[static_cast<std::size_t>(text)].In(language));
}

} // namespace kfg::dialogs
