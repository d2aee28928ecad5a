"""What a sample Telvio folder holds, read as Telvio writes it (Windows-1252, CR LF), and what
its keys stand for in the window. The list rows are this check's own copy, so that what is
expected comes from the sample and not from the code under test."""

import re
import shutil
from pathlib import Path

# The rows of the lists, in the order of their stored numbers.
DISPLAY_MODES_3X = {
    "de": ["Im Fenster", "Im Fenster +", "Im Fenster ++", "400*300 YUY2", "640*480 YUY2",
           "720*576 YUY2", "720*576 YUY2 +", "720*576 YUY2 ++", "800*600 YUY2",
           "800*600 YUY2 +", "800*600 YUY2 ++", "400*300 RGB", "512*384 RGB", "640*400 RGB",
           "640*480 RGB", "720*576 RGB", "720*576 RGB +", "720*576 RGB ++", "800*600 RGB",
           "800*600 RGB +", "800*600 RGB ++"],
    "es": ["En Ventana", "En Ventana +", "En Ventana ++", "400*300 YUY2", "640*480 YUY2",
           "720*576 YUY2", "720*576 YUY2 +", "720*576 YUY2 ++", "800*600 YUY2",
           "800*600 YUY2 +", "800*600 YUY2 ++", "400*300 RVB", "512*384 RVB", "640*400 RVB",
           "640*480 RVB", "720*576 RVB", "720*576 RVB +", "720*576 RVB ++", "800*600 RVB",
           "800*600 RVB +", "800*600 RVB ++"],
}
DISPLAY_MODES_283 = [
    "400*300 YUY2", "640*480 YUY2", "800*600 YUY2", "400*300 YUY2 HQ", "640*480 YUY2 HQ",
    "800*600 YUY2 HQ", "400*300 RGB", "512*384 RGB", "640*400 RGB", "640*480 RGB",
    "720*480 RGB", "720*576 RGB", "800*600 RGB", "400*300 RGB HQ", "512*384 RGB HQ",
    "640*400 RGB HQ", "640*480 RGB HQ", "720*480 RGB HQ", "720*576 RGB HQ", "800*600 RGB HQ",
    "Im Fenster", "Im Fenster HQ", "800*600 Erazor", "800*600 Erazor HQ",
]
DISPLAY_MODES_ERAZOR = ["352*288 YUY2", "384*288 YUY2", "352*288 Fenster", "384*288 Fenster",
                        "640*480 TV-Out"]
TUNERS = ["Temic PAL B/G", "Temic PAL I", "Philips PAL B/G", "Philips PAL I", "Philips SECAM"]
CARDS_320 = ["Hauppauge WinTV", "Hauppauge Radio", "Miro PCTV", "Miro PCTV pro", "Fly Video II",
             "Typhoon Tuner", "AIMS VideoHighway", "Image World", "Guillemot MaxiTV",
             "TV-Boostar", "Terratec TerraTV+", "Avermedia Cap98", "Askey MagicXpress",
             "Askey MagicTview", "Leadtek 601"]
CARDS_31 = ["Hauppauge BT848", "Hauppauge BT878", "Miro PCTV", "Fly Video II", "Typhoon Tuner",
            "AIMS VideoHighway", "Image World", "Guillemot MaxiTV", "TV-Boostar",
            "Terratec TerraTV+", "Avermedia Cap98", "Askey MagicXpress", "Askey MagicTview",
            "Leadtek 601"]
CARDS_283 = ["Keine", "Hauppauge BT848", "Hauppauge BT878", "Miro PCTV"]
CARDS_ERAZOR = ["Elsa Victory Erazor"]
INTERPOLATION = ["Aus", "Zeile kopieren", "Zeile auslassen"]

# What the window shows beside "Telvio", and in the folder chooser, for each sample.
EDITION_LABELS = {"V283": "V 2.83", "V283Quik": "2.83 QUIK", "V31": "V 3.1", "V311": "V 3.11",
                  "V320": "V 3.20", "Erazor": "Erazor"}


def read_profile(path: Path):
    """{section: {key: value}} of an INI file; keys and sections as written."""
    sections = {}
    if not path.exists():
        return sections
    current = None
    for raw in path.read_bytes().decode("cp1252").splitlines():
        line = raw.strip()
        header = re.match(r"^\[(.*)\]$", line)
        if header:
            current = sections.setdefault(header.group(1), {})
        elif current is not None and "=" in line and not line.startswith(";"):
            key, value = line.split("=", 1)
            current.setdefault(key.strip(), value.strip())
    return sections


class Sample:
    """One sample folder: its settings section, its "KFG.ini" and its index files."""

    def __init__(self, examples: Path, name: str):
        self.name = name
        self.folder = examples / name
        viewer = read_profile(self.folder / "Telvio.ini")
        self.section = "Telvio-Erazor" if name == "Erazor" else "Telvio"
        self.keys = viewer.get(self.section, {})
        self.manager = read_profile(self.folder / "KFG.ini").get("KFG", {})

    def number(self, key, default=0):
        value = self.keys.get(key, str(default))
        return int(value) if re.fullmatch(r"-?\d+", value) else default

    def checked(self, key):
        return self.number(key) != 0

    def manager_checked(self, key):
        value = self.manager.get(key, "0")
        return re.fullmatch(r"-?\d+", value) is not None and int(value) != 0

    def entry(self, key, rows):
        """The row the stored number `key` selects."""
        index = self.number(key, -1)
        return rows[index] if 0 <= index < len(rows) else None

    def index_files(self):
        """The numbers of the folder's index files, smallest first, as the list offers them."""
        found = []
        for path in self.folder.iterdir():
            match = re.fullmatch(r"telvio_?(\d\d)\.idx", path.name, re.IGNORECASE)
            if match:
                found.append(int(match.group(1)))
        return [str(n) for n in sorted(found)]

    def copy_to(self, folder: Path, spanish=None):
        """A copy to run in; `spanish` sets the captions' language in its "KFG.ini"."""
        shutil.copytree(self.folder, folder)
        if spanish is not None:
            path = folder / "KFG.ini"
            text = path.read_bytes().decode("cp1252")
            text = re.sub(r"(?m)^Fr=.*$", "Fr=%d" % (1 if spanish else 0), text)
            path.write_bytes(text.encode("cp1252"))
        return folder
