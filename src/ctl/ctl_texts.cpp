#include "ctl/ctl_texts.h"

#include "platform/no_repeats.h"
#include "telvio/configuration_names.h"
#include "texts/command_line_texts.h"
#include "texts/configuration_name_texts.h"

#include <array>

namespace kfg::ctl {
namespace {

using texts::Texts;

struct MessageRow {
    Message message;
    Texts text;
};

constexpr auto kMessages = std::to_array<MessageRow>({
    {Message::MissingViewerSettings, texts::kTelvioIniMissing},
    {Message::UnknownKey,
     {"%1: unknown key", "%1: unbekannter Schlüssel", "%1: clave desconocida"}},
    {Message::NotRead,
     {"%1: Telvio %2 has no such key", "%1: Telvio %2 kennt diesen Schlüssel nicht",
      "%1: Telvio %2 no conoce esta clave"}},
    {Message::NotWritten,
     {"%1: KFG never writes this key for Telvio %2",
      "%1: KFG schreibt diesen Schlüssel für Telvio %2 nie",
      "%1: KFG nunca escribe esta clave para Telvio %2"}},
    // %3 is the dialog's input-check sentence, filled in.
    {Message::NotANumber, {"%1=%2: %3", "%1=%2: %3", "%1=%2: %3"}},
    {Message::OutOfRange, {"%1=%2: %3", "%1=%2: %3", "%1=%2: %3"}},
    {Message::NoSuchRow,
     {"%1=%2: neither a row from 0 to %3 nor a text of the list",
      "%1=%2: weder eine Zeile von 0 bis %3 noch ein Text der Liste",
      "%1=%2: ni una fila de 0 a %3 ni un texto de la lista"}},
    {Message::ZeroSlot,
     {"%1=0: a memory slot of 0 is never written, so the file would keep its old value",
      "%1=0: ein Speicherplatz mit 0 wird nie geschrieben, die Datei behielte ihren alten Wert",
      "%1=0: una memoria con 0 nunca se escribe, el fichero conservaría su valor anterior"}},
    {Message::StoredOutOfRange,
     {"[%1] %2=%3 is outside %4..%5; nothing was written",
      "[%1] %2=%3 liegt nicht in %4..%5; nichts wurde geschrieben",
      "[%1] %2=%3 está fuera de %4..%5; no se ha escrito nada"}},
    {Message::UnknownConfiguration, texts::kNoSuchConfiguration},
    {Message::UnknownCommand,
     {"%1: unknown command; see kfgctl --help", "%1: unbekannter Befehl; siehe kfgctl --help",
      "%1: orden desconocida; véase kfgctl --help"}},
    {Message::UnknownOption,
     {"%1: unknown option; see kfgctl --help", "%1: unbekannte Option; siehe kfgctl --help",
      "%1: opción desconocida; véase kfgctl --help"}},
    {Message::FolderExpected,
     {"-C needs a folder; see kfgctl --help", "-C braucht einen Ordner; siehe kfgctl --help",
      "-C necesita una carpeta; véase kfgctl --help"}},
    {Message::WrongArguments,
     {"usage: kfgctl %1; see kfgctl %2 --help", "Aufruf: kfgctl %1; siehe kfgctl %2 --help",
      "uso: kfgctl %1; véase kfgctl %2 --help"}},
    {Message::NotAnAssignment,
     {"%1: KEY=VALUE expected", "%1: SCHLÜSSEL=WERT erwartet", "%1: se esperaba CLAVE=VALOR"}},
    {Message::OptionNotTaken,
     {"%1: kfgctl %2 takes no such option; see kfgctl %2 --help",
      "%1: kfgctl %2 kennt diese Option nicht; siehe kfgctl %2 --help",
      "%1: kfgctl %2 no admite esta opción; véase kfgctl %2 --help"}},
    {Message::FirstRunPending,
     {"KFG.ini does not exist yet: start kfg in this folder once, it asks for the language and "
      "the display modes",
      "KFG.ini gibt es noch nicht: kfg einmal in diesem Ordner starten, es fragt nach der "
      "Sprache und den Auflösungen",
      "KFG.ini todavía no existe: inicie kfg una vez en esta carpeta, pregunta por el idioma y "
      "las resoluciones"}},
    {Message::UnknownSettingsFile,
     {"%1: neither Telvio.ini nor KFG.ini", "%1: weder Telvio.ini noch KFG.ini",
      "%1: ni Telvio.ini ni KFG.ini"}},
    {Message::NotAStateNumber,
     {"%1: the number or the time of a state, as kfgctl history lists them, expected",
      "%1: die Nummer oder die Zeit eines Stands erwartet, wie kfgctl history sie zeigt",
      "%1: se esperaba el número o la hora de un estado, como los muestra kfgctl history"}},
    {Message::NoSuchState,
     {"there is no state %1 of %2; kfgctl history lists them; nothing was written",
      "es gibt keinen Stand %1 von %2; kfgctl history zeigt sie; nichts wurde geschrieben",
      "no hay ningún estado %1 de %2; kfgctl history los muestra; no se ha escrito nada"}},
    {Message::NoSuchListedState,
     {"there is no state %1; kfgctl history lists them; nothing was written",
      "es gibt keinen Stand %1; kfgctl history zeigt sie; nichts wurde geschrieben",
      "no hay ningún estado %1; kfgctl history los muestra; no se ha escrito nada"}},
    {Message::SeveralStatesNamed,
     {"%1 names several states; kfgctl history tells them apart; nothing was written",
      "%1 nennt mehrere Stände; kfgctl history unterscheidet sie; nichts wurde geschrieben",
      "%1 nombra varios estados; kfgctl history los distingue; no se ha escrito nada"}},
    {Message::StateUnreadable,
     {"state %1 of %2 cannot be read (%3); nothing was written",
      "Stand %1 von %2 kann nicht gelesen werden (%3); nichts wurde geschrieben",
      "el estado %1 de %2 no se puede leer (%3); no se ha escrito nada"}},
    {Message::OtherEdition,
     {"state %1 of %2 is of Telvio %3, the file now of Telvio %4; nothing was written (--force "
      "restores it all the same)",
      "Stand %1 von %2 ist von Telvio %3, die Datei jetzt von Telvio %4; nichts wurde "
      "geschrieben (--force stellt ihn trotzdem wieder her)",
      "el estado %1 de %2 es de Telvio %3, el fichero ahora de Telvio %4; no se ha escrito nada "
      "(--force lo restaura de todos modos)"}},
    {Message::UndecidedEdition,
     {"state %1 of %2 was not put back: the file now does not tell which Telvio wrote it; "
      "nothing was written (--force restores it all the same)",
      "Stand %1 von %2 wurde nicht wiederhergestellt: die jetzige Datei lässt nicht erkennen, "
      "welches Telvio sie schrieb; nichts wurde geschrieben (--force stellt ihn trotzdem wieder "
      "her)",
      "el estado %1 de %2 no se ha restaurado: el fichero actual no deja ver qué Telvio lo "
      "escribió; no se ha escrito nada (--force lo restaura de todos modos)"}},
    // %3: why, as the history's reasons say it.
    {Message::NotKeptBeforeRestore,
     {"state %1 of %2 was not put back, since what the file holds now cannot be kept: %3; "
      "nothing was written",
      "Stand %1 von %2 wurde nicht wiederhergestellt, da der jetzige Inhalt der Datei nicht "
      "aufbewahrt werden kann: %3; nichts wurde geschrieben",
      "el estado %1 de %2 no se ha restaurado, porque el contenido actual del fichero no se "
      "puede conservar: %3; no se ha escrito nada"}},
    {Message::StatePutBack,
     {"%1: state %2 put back; the bytes it replaced are state %3 now",
      "%1: Stand %2 wiederhergestellt; der ersetzte Inhalt ist jetzt Stand %3",
      "%1: estado %2 restaurado; el contenido reemplazado es ahora el estado %3"}},
    // The file was missing or empty: nothing was replaced, nothing kept.
    {Message::StatePutBackOverNothing,
     {"%1: state %2 put back", "%1: Stand %2 wiederhergestellt", "%1: estado %2 restaurado"}},
    {Message::NoKeyDiffers, {"no key differs", "kein Schlüssel anders", "ninguna clave distinta"}},
    {Message::MoreKeys, {"+%1 more", "+%1 weitere", "+%1 más"}},
    {Message::OutputUnwritable, texts::kOutputUnwritable},
});

static_assert(platform::RowPerEnumerator(
                  kMessages, [](const auto& row) { return row.message; },
                  Message::OutputUnwritable),
              "one row per message, in the order of the enumeration");

} // namespace

std::string Text(Message message, texts::TextLanguage language,
                 std::initializer_list<std::string_view> values) {
    return texts::FillIn(kMessages[static_cast<std::size_t>(message)].text.In(language), values);
}

} // namespace kfg::ctl
