#!/usr/bin/python3
"""KFG's windows as a blind user meets them: Orca runs for real on a private desktop, the
keyboard tabs through every window, and what Orca says is compared with what the sample
Telvio folders hold. Fails when a focused control is heard without its name, its value or its
state, when two controls of a window share a name, when a control expected is never reached,
and when Orca cannot run at all.

Usage: orca_check.py KFG EXAMPLES LOG_FOLDER   (kfgctl is taken from beside KFG's build folder)
"""

import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

from hearing import Expect, Heard, Window, button, judge
from orca_session import Desktop, SessionError
from samples import (DISPLAY_MODES_283, DISPLAY_MODES_ERAZOR, EDITION_LABELS, Sample,
                     read_profile)
from windows import (decoder_window, display_mode_window, history_window, language_window,
                     main_window)

# How long one utterance may take to come; a window opening may take longer.
UTTERANCE_SECONDS = 10
MOST_STOPS = 150

_KEYS = {"Tab": 0xff09, "Return": 0xff0d, "Escape": 0xff1b, "Down": 0xff54, "Up": 0xff52,
         "space": 0x0020}


class StepFailed(Exception):
    """A step could not go on: the rest of its scenario is skipped."""


class Check:
    """One scenario's hands and ears: the keyboard, what Orca says, the KFG it started, and
    the faults found."""

    def __init__(self, desktop, kfg, examples, scratch, logs):
        self.desktop = desktop
        self.speech = desktop.speech
        self.kfg = kfg
        self.examples = examples
        self.scratch = scratch
        self.logs = logs
        self.faults = []
        self.cursor = self.speech.mark()
        self.process = None
        # Only now: the bindings find the accessibility bus through the desktop's variables.
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi

        self._atspi = Atspi

    # The keyboard, through the accessibility registry, as a user's keys arrive. What is heard
    # after a key is what the key brought: anything said before it is passed over.
    def press(self, key):
        self.cursor = max(self.cursor, self.speech.mark())
        self._atspi.generate_keyboard_event(_KEYS[key], None, self._atspi.KeySynthType.SYM)

    def type(self, text):
        self.cursor = max(self.cursor, self.speech.mark())
        self._atspi.generate_keyboard_event(0, text, self._atspi.KeySynthType.STRING)

    # Listening.
    def wait(self, accept, what, timeout=UTTERANCE_SECONDS):
        try:
            block, self.cursor = self.speech.wait_for(accept, self.cursor, timeout, what)
        except TimeoutError as error:
            raise StepFailed(str(error)) from error
        return block

    def heard(self, *texts, what):
        """Waits until everything in `texts` has been said since the last step."""
        said = []

        def all_said(block):
            said.append(" ".join(block.speech))
            joined = " ".join(" ".join(said).split())
            return all(" ".join(t.split()) in joined for t in texts)

        self.wait(lambda b: bool(b.speech) and all_said(b), what)

    def focus(self, what, previous=None):
        """The next control to take the focus, as heard. A part of `previous` taking the focus
        inside it (a list's row) is heard as part of `previous`."""
        while True:
            block = self.wait(lambda b: b.kind == "object:state-changed:focused" and b.speech and
                              (previous is None or b.source != previous.source), what)
            if previous is None or not _inside(block.source, previous.source):
                return Heard.parse(" ".join(block.speech), block.source)
            previous.text += " " + " ".join(block.speech)

    # KFG.
    def start(self, arguments, cwd, limit_file_size=False, extra_env=None):
        env = dict(self.desktop.env, **(extra_env or {}))

        def limit():
            if limit_file_size:
                # Every save fails as on a full disk; the signal would end KFG instead.
                signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                resource.setrlimit(resource.RLIMIT_FSIZE, (64, 64))

        output = open(self.logs / "kfg.log", "a")
        output.write("\n$ kfg %s\n" % " ".join(arguments))
        output.flush()
        self.process = subprocess.Popen([str(self.kfg)] + arguments, cwd=cwd, env=env,
                                        stdout=output, stderr=subprocess.STDOUT,
                                        stdin=subprocess.DEVNULL, preexec_fn=limit)
        output.close()

    def kfgctl(self, arguments):
        """Changes the files as another program would, with the desktop's private state folder."""
        kfgctl = self.kfg.parent.parent / "ctl" / "kfgctl"
        if not kfgctl.is_file():
            raise StepFailed("no kfgctl beside %s" % self.kfg)
        subprocess.run([str(kfgctl)] + arguments, env=self.desktop.env, check=True,
                       stdout=subprocess.DEVNULL)

    def stop(self, expect_end=None):
        """Ends the KFG started last; with `expect_end`, it must have ended by itself."""
        if self.process is None:
            return
        try:
            self.process.wait(timeout=UTTERANCE_SECONDS if expect_end else 0.1)
        except subprocess.TimeoutExpired:
            if expect_end:
                self.faults.append("%s: KFG did not end" % expect_end)
            self.process.kill()
            self.process.wait()
        self.process = None

    def copy(self, name, spanish=None):
        folder = self.scratch / ("%s-%d" % (name, len(list(self.scratch.iterdir()))))
        return Sample(self.examples, name).copy_to(folder, spanish)

    # Windows.
    def opened(self, title):
        """Waits for the window `title` to open; its first focused control, as heard."""
        self.heard(title, what="the window %r opening" % title)
        return self.focus("the first control of %r" % title)

    def tab_through(self, window, first):
        """Tabs once round `window`, from its control `first`, and judges what was heard."""
        stops = [first]
        while True:
            self.press("Tab")
            stop = self.focus("the control after %r in %r" % (stops[-1].text, window.title),
                              stops[-1])
            if stop.source == first.source:
                break
            stops.append(stop)
            if len(stops) > MOST_STOPS:
                self.faults.append("%s: the Tab key does not come round" % window.title)
                break
        self.faults += judge(window, stops)
        print("  %s: %d controls heard, %d of them checked against the sample"
              % (window.title, len(stops), sum(1 for e in window.controls if e.tab_stop)),
              flush=True)
        return stops

    def tab_to(self, name, window_title):
        """Tabs on until the control `name` has the focus."""
        for _ in range(MOST_STOPS):
            self.press("Tab")
            stop = self.focus("the control %r in %r" % (name, window_title))
            if stop.name == name or stop.name.startswith(name + ","):
                return stop
        raise StepFailed("%s: %r never reached with the Tab key" % (window_title, name))


# The scenarios. Each starts KFG over a sample folder and steps through its windows as a
# user would; the window tables (windows.py) say what each must be heard with.

def kfg_283_german(c: Check):
    """2.83, first run: the language prompt, the main window in German, a list changed with
    the arrow keys, and the range check's message."""
    sample = Sample(c.examples, "V283")
    folder = c.copy("V283")
    c.start([str(folder)], folder)
    c.tab_through(language_window(), c.opened("KFG - Sprachauswahl"))
    c.press("Return")  # OK: German, preselected
    window = main_window(sample, "de")
    c.tab_through(window, c.opened(window.title))

    c.tab_to("Anzeigemodus", window.title)
    row = DISPLAY_MODES_283.index(sample.entry("DisplayMode", DISPLAY_MODES_283))
    c.press("Down")
    c.heard("Anzeigemodus, " + DISPLAY_MODES_283[row + 1],
            what="the display mode changed with the Down key")

    c.tab_to("Testzeilen", window.title)
    c.type("120")
    c.tab_to("Beenden", window.title)
    c.press("space")
    c.heard("Bitte eine ganze Zahl zwischen 0 und 99 eingeben.",
            what="the range check's message on \"Beenden\"")
    c.press("Return")
    c.focus("the field back after the message")
    c.press("Escape")
    c.stop(expect_end="Escape in the main window")


def kfg_320_spanish(c: Check):
    """3.20 in Spanish: the main window, the configuration list, the Enter question and the
    audio-decoder dialog, left with Enter on its focused "Cancelar"."""
    sample = Sample(c.examples, "V320")
    folder = c.copy("V320", spanish=True)
    c.start([str(folder)], folder)
    window = main_window(sample, "es")
    c.tab_through(window, c.opened(window.title))

    c.tab_to("Configuración", window.title)
    c.press("Down")
    names = sorted(s for s in read_profile(folder / "KFG.ini") if s != "KFG")
    c.heard(names[0], what="the first configuration chosen with the Down key")
    c.press("Return")
    c.heard("La configuración %s ya existe. ¿Sobrescribirla?" % names[0],
            what="the question of Enter on a stored name")
    c.press("Escape")

    c.tab_to("Audio-Decoder", window.title)
    c.press("space")
    decoder = decoder_window(sample, "es")
    c.tab_through(decoder, c.opened(decoder.title))
    c.tab_to("Cancelar", decoder.title)
    c.press("Return")
    c.focus("the main window back after \"Cancelar\"")
    c.press("Escape")
    c.stop(expect_end="Escape in the main window")


def kfg_erazor_spanish(c: Check):
    """Erazor, whose lists are editable, in Spanish; a list changed with the arrow keys."""
    sample = Sample(c.examples, "Erazor")
    folder = c.copy("Erazor", spanish=True)
    c.start([str(folder)], folder)
    window = main_window(sample, "es")
    c.tab_through(window, c.opened(window.title))

    c.tab_to("Modo de pantalla", window.title)
    rows = sorted(DISPLAY_MODES_ERAZOR, key=str.casefold)  # the list is sorted
    row = rows.index(sample.entry("DisplayMode", DISPLAY_MODES_ERAZOR))
    c.press("Up")
    c.heard(rows[row - 1], what="the display mode changed with the Up key")
    c.press("Escape")
    c.stop(expect_end="Escape in the main window")


def kfg_31_first_run_spanish(c: Check):
    """3.1, first run: Spanish chosen in the language prompt, then the display-mode prompt."""
    folder = c.copy("V31")
    c.start([str(folder)], folder)
    c.opened("KFG - Sprachauswahl")
    c.press("Down")  # the other language
    c.heard("versión Española", what="the Spanish language chosen with the Down key")
    c.press("Return")
    window = display_mode_window("es")
    c.tab_through(window, c.opened(window.title))
    c.press("Return")
    c.opened("KFG – Telvio")
    c.press("Escape")
    c.stop(expect_end="Escape in the main window")


def kfg_without_telvio_ini(c: Check):
    """A folder without "Telvio.ini": the message is heard as it opens, and KFG ends."""
    folder = c.scratch / "empty"
    folder.mkdir()
    c.start([str(folder)], folder)
    c.heard("Telvio.ini nicht vorhanden", "Bitte ins Telvio-Verzeichnis kopieren",
            "Telvio.ini no existe.", "Copialo en el directorio TLV ZAV",
            what="the missing-Telvio.ini message")
    c.press("Return")
    c.stop(expect_end="the missing-Telvio.ini message answered")


def kfg_save_fails(c: Check):
    """Start where no file can be saved (a file size limit): the failure is heard."""
    folder = c.copy("V320")
    c.start([str(folder)], folder, limit_file_size=True)
    c.opened("KFG – Telvio")
    # Something to save in both files: a field and a sound option changed.
    c.tab_to("Testzeilen", "KFG – Telvio")
    c.type("30")
    c.tab_to("Sound initialisieren", "KFG – Telvio")
    c.press("space")
    c.tab_to("Start", "KFG – Telvio")
    c.press("space")
    c.heard("Telvio.ini konnte nicht gespeichert werden: Datenträger voll",
            what="the failed save's message")
    c.press("Return")
    c.stop(expect_end="Start handing over to Telvio")


def kfg_history_german(c: Check):
    """The window of earlier states (kfg --history) after one change by kfgctl: its row heard
    with what changed, the restore question heard as it opens, Escape answering no."""
    folder = c.copy("V320")
    c.kfgctl(["-C", str(folder), "set", "Helligkeit=200"])
    changes = "Helligkeit 128 → 200"
    c.start(["--history", str(folder)], folder,
            extra_env={"LC_ALL": "de_DE.UTF-8", "LANG": "de_DE.UTF-8"})
    window = history_window("Frühere Stände – ", changes, "de")
    stops = c.tab_through(window, c.opened(window.title))
    if changes not in stops[0].text:
        c.faults.append("%s: the state's row never heard with %r" % (window.title, changes))
    # The difference from the file now, a row of setting, value in the state, value now.
    if not all(t in stops[1].text for t in ("Helligkeit", "128", "200")):
        c.faults.append("%s: the difference heard as %r, not with Helligkeit, 128 and 200"
                        % (window.title, stops[1].text))
    c.tab_to("Wiederherstellen", window.title)
    c.press("space")
    c.heard("Telvio.ini auf den Stand vom", "Der jetzige Inhalt wird vorher aufbewahrt.",
            what="the restore question")
    c.press("Escape")  # no: nothing is restored
    c.focus("the window back after the question")
    c.press("Escape")
    c.stop(expect_end="Escape in the window of earlier states")


def kfg_changed_on_disk(c: Check):
    """Start after another program changed Telvio.ini under the open window: the question is
    heard as it opens; Escape answers no."""
    folder = c.copy("V320")
    c.start([str(folder)], folder)
    c.opened("KFG – Telvio")
    c.kfgctl(["-C", str(folder), "set", "Farbe=111"])
    c.tab_to("Start", "KFG – Telvio")
    c.press("space")
    c.heard("Telvio.ini wurde geändert, seit KFG sie geladen hat.",
            what="the question before Start overwrites a change")
    c.press("Escape")
    c.focus("the window back after the question")
    c.press("Escape")
    c.stop(expect_end="Escape in the main window")


def folder_chooser(c: Check):
    """The folder chooser over two Telvio folders in a wine prefix: each row is heard with its
    edition and its folder."""
    # A home of its own, so that the folders KFG ran in before (the other scenarios') stay out.
    home = c.scratch / "home"
    folders = {".wine/drive_c/Program Files/Telvio": "V320", ".wine/drive_c/Telvio 2.83": "V283"}
    for place, name in folders.items():
        (home / place).mkdir(parents=True)
        shutil.copy(c.examples / name / "Telvio.ini", home / place)
    rows = {(EDITION_LABELS[name], "~/" + place) for place, name in folders.items()}
    c.start(["--choose-folder"], home,
            extra_env={"HOME": str(home), "XDG_STATE_HOME": str(home / ".local" / "state"),
                       "LC_ALL": "de_DE.UTF-8", "LANG": "de_DE.UTF-8"})
    title = "KFG – Telvio-Ordner wählen"
    first = c.opened(title)
    window = Window(title, [Expect("Telvio-Ordner:", "tree"), button("Öffnen"),
                            button("Anderer Ordner …"), button("Frühere Stände …"),
                            button("Abbrechen")])
    c.tab_through(window, first)
    heard_rows = [first.text]
    for key in ["Down"] * (len(rows) - 1) + ["Up"] * (len(rows) - 1):
        c.press(key)
        heard_rows.append(" ".join(c.wait(lambda b: bool(b.speech), "a row after " + key).speech))
    for label, place in sorted(rows):
        if not any(label in text and place in text for text in heard_rows):
            c.faults.append("%s: the row of %s (%s) never heard with both; heard: %s"
                            % (title, place, label, heard_rows))
    c.press("Escape")
    c.stop(expect_end="Escape in the chooser")


def _inside(source, container):
    """Whether the object at `source` lies within the one at `container` (tree paths)."""
    return bool(source and container) and source.startswith(container.rstrip("]") + ", ")


SCENARIOS = [kfg_283_german, kfg_320_spanish, kfg_erazor_spanish, kfg_31_first_run_spanish,
             kfg_without_telvio_ini, kfg_save_fails, kfg_history_german, kfg_changed_on_disk,
             folder_chooser]


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    kfg, examples, logs = Path(argv[1]).resolve(), Path(argv[2]).resolve(), Path(argv[3])
    logs.mkdir(parents=True, exist_ok=True)
    (logs / "kfg.log").write_text("")
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="kfg-orca-") as scratch:
        scratch = Path(scratch)
        desktop = Desktop(scratch / "desktop", logs, UTTERANCE_SECONDS * 3)
        try:
            desktop.open()
        except SessionError as error:
            print("The screen reader check cannot run: %s" % error, file=sys.stderr)
            desktop.close()
            return 1
        faults = []
        try:
            for scenario in SCENARIOS:
                work = scratch / scenario.__name__
                work.mkdir()
                check = Check(desktop, kfg, examples, work, logs)
                print("- %s" % scenario.__doc__.strip().splitlines()[0], flush=True)
                try:
                    scenario(check)
                except StepFailed as error:
                    check.faults.append(str(error))
                except Exception:  # a fault of the check itself: said, not hidden
                    check.faults.append(traceback.format_exc())
                finally:
                    check.stop()
                for fault in check.faults:
                    print("  FAULT %s" % fault, flush=True)
                faults += check.faults
        finally:
            desktop.close()
    print("%d scenarios in %.0f s; Orca's speech is in %s" % (
        len(SCENARIOS), time.monotonic() - started, logs / "orca-debug.log"))
    if faults:
        print("%d faults heard." % len(faults), file=sys.stderr)
        return 1
    print("Every control was heard with its name and its value or state.")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
