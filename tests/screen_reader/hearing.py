"""What the screen reader said about each control, and the rules it must satisfy.

A control is heard as Orca presents a focused object: its name (or label), its role, and its
value or state, in Orca's order, e.g. "Tuner, Temic PAL B/G combo box.", "Testzeilen text.
16 selected.", "PALplus check box not checked.", "Deutsch. selected radio button"."""

import re
from dataclasses import dataclass, field
from typing import Optional

# Orca's English role names, longest first where one ends another.
_ROLE = re.compile(r"^(?P<before>.*?)\s*\b(?P<role>editable combo box|combo box|push button|"
                   r"toggle button|check box|radio button|spin button|tree table|tree|table|"
                   r"list|text)\b\.?\s*(?P<after>.*)$", re.S)
_STATE_AFTER = re.compile(r"^(?P<state>not checked|checked|partially checked)\b")
_STATE_BEFORE = re.compile(r"^(?P<name>.*?)[.,]?\s*\b(?P<state>not selected|selected)$", re.S)

# What each kind of control is heard as.
ROLES = {
    "list": ("combo box", "editable combo box"),
    "field": ("text",),
    "check": ("check box",),
    "radio": ("radio button",),
    "button": ("push button", "toggle button"),
    "tree": ("tree", "tree table", "table", "list"),
}


@dataclass
class Heard:
    """One focus stop as heard."""

    text: str
    source: Optional[str]
    role: Optional[str] = None
    name: str = ""
    state: Optional[str] = None
    after: str = ""

    @staticmethod
    def parse(text, source=None):
        heard = Heard(text=text, source=source)
        found = _ROLE.match(text)
        if not found:
            return heard
        heard.role = found.group("role")
        heard.name = found.group("before").strip()
        heard.after = found.group("after").strip()
        state = _STATE_AFTER.match(heard.after)
        if state:
            heard.state = state.group("state")
        elif heard.role == "radio button":
            state = _STATE_BEFORE.match(heard.name)
            if state:
                heard.name, heard.state = state.group("name").strip(), state.group("state")
        heard.name = heard.name.rstrip(".").strip()
        return heard


@dataclass
class Expect:
    """A control the window must have: its name, its kind (a key of ROLES) and what it must be
    heard with: the entry or number (`value`, None: nothing to check, "": none shown) or the
    state (`checked`)."""

    name: str
    kind: str
    value: Optional[str] = None
    checked: Optional[bool] = None
    # A radio button that is not selected is no tab stop: the arrow keys reach it.
    tab_stop: bool = True

    def names(self, heard: Heard):
        """Whether `heard` is this control: its name, alone or followed by what it shows."""
        if heard.role not in ROLES[self.kind]:
            return False
        rest = heard.name[len(self.name):] if heard.name.startswith(self.name) else None
        return rest is not None and (rest == "" or not rest[0].isalnum())


def button(name):
    return Expect(name, "button")


def field_with(name, number):
    return Expect(name, "field", "" if number is None else str(number))


def check(name, checked):
    return Expect(name, "check", checked=checked)


def radio(name, selected):
    return Expect(name, "radio", checked=selected, tab_stop=selected)


def choice(name, entry):
    return Expect(name, "list", entry or "")


def _has_token(text, token):
    return re.search(r"(?:^|[\s,.:;])%s(?:$|[\s,.:;])" % re.escape(token), text) is not None


def _state_of(expect):
    if expect.kind == "radio":
        return "selected" if expect.checked else "not selected"
    return "checked" if expect.checked else "not checked"


@dataclass
class Window:
    """A window to tab through: heard as `title` when it opens, with `controls` among its focus
    stops, every list of the window included."""

    title: str
    controls: list = field(default_factory=list)


def judge(window: Window, stops):
    """The faults of a window heard as `stops` (one Heard per focus stop, in tab order)."""
    faults = []
    labels = {}
    matched = set()
    for stop in stops:
        where = "%s: %r" % (window.title, stop.text)
        if stop.role is None:
            faults.append("%s: heard without a role, so it cannot be told what it is" % where)
            continue
        expect = next((e for e in window.controls if id(e) not in matched and e.names(stop)),
                      None)
        label = stop.name
        if expect is not None:
            matched.add(id(expect))
            label = expect.name
            faults += _judge_expected(where, expect, stop)
        elif stop.role in ROLES["list"]:
            faults.append("%s: a list the check does not know (name it in the window's table)"
                          % where)
        if not re.search(r"\w", label):
            faults.append("%s: heard without a name" % where)
        if stop.role in ("check box", "radio button") and stop.state is None:
            faults.append("%s: heard without its state" % where)
        key = label.casefold()
        if key in labels:
            faults.append("%s: heard with the name %r of another control of the window, %r"
                          % (where, label, labels[key]))
        labels.setdefault(key, stop.text)
    for expect in window.controls:
        if id(expect) not in matched and expect.tab_stop:
            faults.append("%s: %s %r never reached with the Tab key" % (window.title, expect.kind,
                                                                       expect.name))
    return faults


def _judge_expected(where, expect, stop):
    if expect.kind in ("check", "radio"):
        if expect.checked is not None and stop.state != _state_of(expect):
            return ["%s: %r should be heard %s" % (where, expect.name, _state_of(expect))]
        return []
    if expect.value is None:
        return []
    if expect.kind == "list":
        shown = stop.text[len(expect.name):]
        if expect.value == "":
            # Nothing shown: the label and the role alone.
            if re.sub(r"[\s,.]", "", stop.name[len(expect.name):] + stop.after):
                return ["%s: %r shows no entry, yet more was heard" % (where, expect.name)]
            return []
        if not _has_token(shown, expect.value):
            return ["%s: %r heard without its entry %r" % (where, expect.name, expect.value)]
        return []
    if expect.kind == "field" and expect.value and not _has_token(stop.after, expect.value):
        return ["%s: %r heard without its number %s" % (where, expect.name, expect.value)]
    return []
