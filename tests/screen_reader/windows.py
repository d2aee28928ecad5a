"""The windows the check tabs through, as tables: each control by its name in either caption
language, the editions that show it, and what the sample folder says it must be heard with.

To add a window, write a function that returns a hearing.Window with its controls (every list
among them) and call it from a step in orca_check.py once the window is open."""

from hearing import Expect, Window, button, check, choice, field_with, radio
from samples import (CARDS_283, CARDS_31, CARDS_320, CARDS_ERAZOR, DISPLAY_MODES_283,
                     DISPLAY_MODES_3X, DISPLAY_MODES_ERAZOR, INTERPOLATION, TUNERS)

ALL = {"283", "3x", "erazor"}
X3 = {"3x"}
E283 = {"283"}
ERAZOR = {"erazor"}


def family(sample):
    return {"V283": "283", "V283Quik": "283", "Erazor": "erazor"}.get(sample.name, "3x")


def _cards(sample):
    return {"V320": CARDS_320, "V283": CARDS_283, "V283Quik": CARDS_283,
            "Erazor": CARDS_ERAZOR}.get(sample.name, CARDS_31)


def _display_mode(sample, language):
    if family(sample) == "283":
        return sample.entry("DisplayMode", DISPLAY_MODES_283)
    if family(sample) == "erazor":
        return sample.entry("DisplayMode", DISPLAY_MODES_ERAZOR)
    # A 3.x list offers only the modes "KFG.ini" enables.
    entry = sample.entry("DisplayMode", DISPLAY_MODES_3X[language])
    enabled = sample.manager.get(str(sample.number("DisplayMode", -1))) == "1"
    return entry if enabled else ""


def _memory_fields(sample, language):
    prefix, count = {"V283": ("Station", 10), "V283Quik": ("Station", 10), "V31": ("Station", 20),
                     "V311": ("Speicher", 20), "V320": ("Speicher", 40)}.get(sample.name,
                                                                              ("", 0))
    label = "Memoria %d" if language == "es" else "Speicher %d"
    return [field_with(label % n, sample.number("%s%d" % (prefix, n))) for n in range(count)]


# (German, Spanish, editions, control made from the name and the sample)
_MAIN = [
    ("Anzeigen", "Mostrar", ALL, lambda n, s, l: button(n)),
    ("Testzeilen", "Líneas de test", ALL, lambda n, s, l: field_with(n, s.number("Testzeilen"))),
    ("IDX-Files", "Ficheros IDX", ALL,
     lambda n, s, l: choice(n, (s.index_files() or [""])[0])),
    ("Randhöhe", "Tamaño Bandas", ERAZOR, lambda n, s, l: field_with(n, s.number("HoeheRand"))),
    ("4:3", "4:3", ERAZOR, lambda n, s, l: button(n)),
    ("16:9", "16:9", ERAZOR, lambda n, s, l: button(n)),
    ("20:9", "20:9", ERAZOR, lambda n, s, l: button(n)),
    ("PALplus", "PALplus", E283, lambda n, s, l: check(n, s.checked("PALplus"))),
    ("Schwarze Zeilen", "Manejar bandas negras", E283,
     lambda n, s, l: check(n, s.checked("SchwarzeZeile"))),
    ("Austastlücke", "Acceso directo a memoria vídeo", E283,
     lambda n, s, l: check(n, s.checked("Austastung"))),
    ("Erste Zeile", "Primera línea", E283, lambda n, s, l: field_with(n, s.number("ErsteZeile"))),
    ("Letzte Zeile", "Ultima línea", E283, lambda n, s, l: field_with(n, s.number("LetzteZeile"))),
    ("Vordergrund", "1er. Plano", {"V320"}, lambda n, s, l: check(n, s.checked("Vordergrund"))),
    ("Randautomatik", "AutoFormato", {"V320"},
     lambda n, s, l: check(n, s.checked("RandAutomatik"))),
    ("Proportional", "Proporcional", {"V320"},
     lambda n, s, l: check(n, s.checked("Proportional"))),
    ("Turbo", "Turbo", {"V311", "V320"}, lambda n, s, l: check(n, s.checked("Turbo"))),
    ("Tuner", "Sintonizador", E283 | X3, lambda n, s, l: choice(n, s.entry("Tuner", TUNERS))),
    ("Interpolation", "Interpolación", ERAZOR,
     lambda n, s, l: choice(n, s.entry("Interpolation", INTERPOLATION))),
    ("TV-Karte", "Tarjeta de TV", ALL, lambda n, s, l: choice(n, s.entry("TVKarte", _cards(s)))),
    ("PLL initialisieren", "Inicializar el PLL", X3, lambda n, s, l: check(n, s.checked("PLL"))),
    ("Bt8xx", "Bt8xx", E283, lambda n, s, l: check(n, s.checked("OptimierungBT"))),
    ("Line-In aktivieren", "Line-In aktivieren", ERAZOR,
     lambda n, s, l: check(n, s.checked("Line-In"))),
    ("Konfigurationen", "Configuración", ALL, lambda n, s, l: field_with(n, None)),
    ("Anzeigemodus", "Modo de pantalla", ALL,
     lambda n, s, l: choice(n, _display_mode(s, l))),
    ("HohePriorität", "Prioridad alta", E283 | ERAZOR | {"V31"},
     lambda n, s, l: check(n, s.checked("Priority"))),
    ("Status", "Información", X3, lambda n, s, l: check(n, s.checked("Status"))),
    ("Statistik", "Información", E283 | ERAZOR, lambda n, s, l: check(n, s.checked("Statistik"))),
    ("SECAM", "SECAM", E283 | X3, lambda n, s, l: check(n, s.checked("Secam"))),
    ("LOG-File", "Archivo Log", ALL, lambda n, s, l: check(n, s.checked("Debug"))),
    ("Helligkeit", "Brillo", E283 | X3, lambda n, s, l: field_with(n, s.number("Helligkeit"))),
    ("Farbe", "Color", E283 | X3, lambda n, s, l: field_with(n, s.number("Farbe"))),
    ("Kontrast", "Contraste", E283 | X3, lambda n, s, l: field_with(n, s.number("Kontrast"))),
    ("Bilddefault", "Por defecto", E283 | X3, lambda n, s, l: button(n)),
    ("Loudness", "Loudness", {"V311", "V320"}, lambda n, s, l: check(n, s.checked("Loudness"))),
    ("Spartial", "Spacial", {"V311", "V320"}, lambda n, s, l: check(n, s.checked("Spartial"))),
    ("Sound initialisieren", "Inicializar sonido", ALL,
     lambda n, s, l: check(n, s.manager_checked("SoundInit"))),
    ("Line-In aktivieren", "Activar Line-In", ALL,
     lambda n, s, l: check(n, s.manager_checked("LineIn"))),
    ("Telvio.ini", "Telvio.ini", ALL, lambda n, s, l: button(n)),
    ("Defaultwerte", "R E S E T", ALL, lambda n, s, l: button(n)),
    ("Speichern", "Grabar", ALL, lambda n, s, l: button(n)),
    ("Löschen", "Borrar", ALL, lambda n, s, l: button(n)),
    ("Start", "Iniciar", ALL, lambda n, s, l: button(n)),
    ("Audiodecoder", "Audio-Decoder", ALL, lambda n, s, l: button(n)),
    ("Beenden", "Salir", ALL, lambda n, s, l: button(n)),
]


def _shown_in(editions, sample):
    return family(sample) in editions or sample.name in editions


def main_window(sample, language):
    """The main window over `sample` with the captions in `language` ("de" or "es")."""
    controls = []
    for german, spanish, editions, make in _MAIN:
        if _shown_in(editions, sample):
            name = spanish if language == "es" else german
            controls.append(make(name, sample, language))
    controls += _memory_fields(sample, language)
    return Window("KFG – Telvio" + ("-Erazor" if family(sample) == "erazor" else ""), controls)


def language_window():
    """The first-run language prompt; German is preselected."""
    return Window("KFG - Sprachauswahl", [radio("Deutsch", True),
                                          radio("versión Española", False), button("OK")])


def display_mode_window(language):
    """The first-run display-mode prompt of the 3.x editions: every box starts unticked."""
    title = "versión Española" if language == "es" else "Nur für Telvio ab 3.01"
    confirm = "Selecciona y Pulsa" if language == "es" else "Speichern und Schließen"
    # Only the window modes have Spanish captions.
    names = DISPLAY_MODES_3X[language][:3] + DISPLAY_MODES_3X["de"][3:]
    return Window(title, [check(name, False) for name in names] + [button(confirm)])


def decoder_window(sample, language):
    """The audio-decoder dialog: the decoder "KFG.ini" names, started automatically if any."""
    chosen = sample.manager.get("Audio", "0")
    spanish = language == "es"
    return Window("Audio-Decoder" if spanish else "Audiodecoder", [
        radio("Ningún Audiodecoder" if spanish else "Kein Audiodecoder", chosen not in "12"),
        radio("Tonalix", chosen == "2"),
        radio("Sonora", chosen == "1"),
        check("Lanzador automático Audiodecoder" if spanish else "Decoder automatisch starten",
              chosen in ("1", "2")),
        button("OK"),
        button("Cancelar"),
    ])


def history_window(title, changes, language):
    """The window of earlier states (`title`, or its beginning) with one state of Telvio.ini:
    its row names `changes`; both tables, then the two buttons."""
    spanish = language == "es"
    return Window(title, [
        Expect("Estados anteriores:" if spanish else "Frühere Stände:", "tree", changes),
        Expect("Diferencias con el fichero actual:" if spanish
               else "Unterschiede zur jetzigen Datei:", "tree"),
        button("Restaurar" if spanish else "Wiederherstellen"),
        button("Cerrar" if spanish else "Schließen"),
    ])
