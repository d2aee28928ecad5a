"""A private desktop with a real screen reader: Xvfb, a D-Bus session with the accessibility
bus, and Orca with a settings folder of its own, whose speech is read from its debug log.

Orca has no sound here: it is given no speech server, so it only logs what it would say
("SPEECH OUTPUT: '...'"). The log goes through a pseudo-terminal, which Orca's debug file
then writes line by line instead of in blocks, so every utterance can be waited for at once.
"""

import json
import os
import pty
import re
import select
import signal
import subprocess
import threading
import time
import tty
from pathlib import Path


class SessionError(Exception):
    """The desktop or the screen reader could not be brought up: the check cannot run."""


# Orca writes one block per accessibility event it handles, between these two lines.
_EVENT_START = re.compile(r"^vvvvv PROCESS OBJECT EVENT (\S+) vvvvv$")
_EVENT_END = re.compile(r"^\^\^\^\^\^ PROCESS OBJECT EVENT (\S+) \^\^\^\^\^$")
# The text, then the voice Orca would use: " voice=name" and a dictionary, or a list of one.
_SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\S+)?(?:[\[{].*)?$", re.S)
# The first such line of a block is the place of the event's object in the tree.
_SOURCE = re.compile(r"^\s+path=(\[.*\])$")
# An utterance longer than this many lines is taken as it stands.
_MOST_LINES = 50


class Block:
    """What Orca said while handling one event (`kind` is the event type, or "key"), and the
    place in the accessibility tree of the object the event came from."""

    def __init__(self, kind):
        self.kind = kind
        self.source = None
        self.speech = []

    def text(self):
        return " ".join(self.speech)


class SpeechLog:
    """Orca's debug log as it is written, cut into event blocks, kept whole in `path`."""

    def __init__(self, master_fd, path):
        self._fd = master_fd
        self.writer = None  # the process writing the log; a wait ends when it has ended
        self._file = open(path, "w", encoding="utf-8")
        self._blocks = []
        self._current = None
        self._pending = None
        self._condition = threading.Condition()
        self._closed = False
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self._fd, 65536)
            except OSError:
                chunk = b""
            if not chunk:
                break
            pending += chunk
            *lines, pending = pending.split(b"\n")
            for raw in lines:
                self._line(raw.decode("utf-8", "replace").rstrip("\r"))
        with self._condition:
            self._closed = True
            self._condition.notify_all()

    def _line(self, line):
        self._file.write(line + "\n")
        self._file.flush()
        # An utterance with line breaks spans several lines of the log.
        if self._pending is not None:
            line = self._pending + "\n" + line
            self._pending = None
        if ("SPEECH OUTPUT: '" in line and not _SPEECH.search(line) and
                line.count("\n") < _MOST_LINES):
            self._pending = line
            return
        with self._condition:
            source = _SOURCE.match(line)
            if source and self._current is not None and self._current.source is None:
                self._current.source = source.group(1)
                return
            start = _EVENT_START.match(line)
            if start:
                self._current = Block(start.group(1))
                return
            if _EVENT_END.match(line) and self._current is not None:
                self._blocks.append(self._current)
                self._current = None
                self._condition.notify_all()
                return
            speech = _SPEECH.search(line)
            if speech:
                if self._current is not None:
                    self._current.speech.append(speech.group(1))
                else:
                    # Said outside an object event (a key command, the greeting): a block alone.
                    block = Block("key")
                    block.speech.append(speech.group(1))
                    self._blocks.append(block)
                    self._condition.notify_all()

    def mark(self):
        """A position in the log: what is said after it is what the next wait looks at."""
        with self._condition:
            return len(self._blocks)

    def wait_for(self, accept, since, timeout, what):
        """The first block at or after `since` for which `accept(block)` holds, and the
        position after it. Raises TimeoutError naming `what` after `timeout` seconds."""
        deadline = time.monotonic() + timeout
        with self._condition:
            index = since
            while True:
                while index < len(self._blocks):
                    block = self._blocks[index]
                    index += 1
                    if accept(block):
                        return block, index
                remaining = deadline - time.monotonic()
                ended = self._closed or (self.writer is not None and self.writer.poll() is not None)
                if remaining <= 0 or ended:
                    heard = [b.text() for b in self._blocks[since:] if b.speech]
                    raise TimeoutError(
                        "%s: not heard within %.0f s%s; heard instead: %s"
                        % (what, timeout, " (Orca ended)" if ended else "", heard)
                    )
                # Woken by every new block; the short bound notices a writer that died.
                self._condition.wait(min(remaining, 0.5))

    def close(self):
        self._file.close()


def _orca_settings():
    # No speech server: Orca logs every utterance and says nothing aloud. English role names
    # come from the locale Orca is started in.
    general = {
        "speechServerFactory": "",
        "enableSpeech": True,
        "enableBraille": False,
        "enableSound": False,
        "enableTutorialMessages": False,
        "enableMnemonicSpeaking": False,
        "enablePositionSpeaking": False,
        "presentToolTips": False,
        "enableKeyEcho": False,
        "enableEchoByCharacter": False,
        "enableEchoByWord": False,
        "verbalizePunctuationStyle": 3,  # none: the log keeps the texts as they are
        "firstStartCompleted": True,
    }
    return {
        "general": dict(general),
        "profiles": {
            "default": dict(general, profile=["Default", "default"], pronunciations={},
                            keybindings={})
        },
        "pronunciations": {},
        "keybindings": {},
    }


class Desktop:
    """Xvfb, D-Bus, the accessibility bus and Orca, all children of this object, stopped by
    close(). `env` is the environment for the programs to be checked."""

    def __init__(self, scratch: Path, log_dir: Path, timeout: float):
        self.scratch = scratch
        self.timeout = timeout
        self._processes = []
        self._log_path = log_dir / "orca-debug.log"
        # What the desktop's programs print (and Orca's own complaints) goes here.
        self._console = open(log_dir / "session.log", "w")
        self._slave = None
        self.speech = None
        self.env = None

    def _start(self, argv, env, **kwargs):
        # A process group of its own, so that close() also ends what it started (the
        # accessibility bus starts its own bus and registry).
        try:
            process = subprocess.Popen(argv, env=env, start_new_session=True, **kwargs)
        except OSError as error:
            raise SessionError("cannot start %s: %s" % (argv[0], error)) from error
        self._processes.append(process)
        return process

    @staticmethod
    def _signal_group(process, signal_number):
        try:
            os.killpg(process.pid, signal_number)
        except ProcessLookupError:
            pass  # the group has ended already

    def _read_line_from(self, fd, what):
        """One line written to pipe `fd` by a child, within the timeout."""
        deadline = time.monotonic() + self.timeout
        data = b""
        os.set_blocking(fd, False)
        while not data.endswith(b"\n"):
            if time.monotonic() > deadline:
                raise SessionError("%s did not start within %.0f s" % (what, self.timeout))
            try:
                chunk = os.read(fd, 4096)
            except BlockingIOError:
                chunk = None
            if chunk == b"":
                raise SessionError("%s ended before it was ready" % what)
            if chunk:
                data += chunk
            else:
                # Waiting on the pipe itself, not sleeping blindly.
                select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
        os.close(fd)
        return data.decode().strip()

    def _wait_until(self, ready, what):
        """Asks `ready` again and again, a little apart, until it holds or the timeout ends."""
        deadline = time.monotonic() + self.timeout
        while not ready():
            if time.monotonic() > deadline:
                raise SessionError("%s did not start within %.0f s" % (what, self.timeout))
            time.sleep(0.05)

    def open(self):
        home = self.scratch / "home"
        runtime = self.scratch / "run"
        for folder in (home, runtime, home / ".config", home / ".local" / "share",
                       home / ".local" / "state", home / ".cache"):
            folder.mkdir(parents=True, exist_ok=True)
        runtime.chmod(0o700)
        base = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": str(home),
            "XDG_CONFIG_HOME": str(home / ".config"),
            "XDG_DATA_HOME": str(home / ".local" / "share"),
            "XDG_STATE_HOME": str(home / ".local" / "state"),
            "XDG_CACHE_HOME": str(home / ".cache"),
            "XDG_RUNTIME_DIR": str(runtime),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "NO_AT_BRIDGE": "0",
            "GSETTINGS_BACKEND": "memory",
        }

        read_fd, write_fd = os.pipe()
        self._start(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", "-noreset"], base, pass_fds=(write_fd,),
                    stdout=self._console, stderr=subprocess.STDOUT)
        os.close(write_fd)
        base["DISPLAY"] = ":" + self._read_line_from(read_fd, "Xvfb")
        # A window manager, as on any desktop: it gives the keyboard back to the window below
        # when a message box closes.
        self._start(["jwm"], base, stdout=self._console, stderr=subprocess.STDOUT)
        self._wait_until(lambda: "window id" in subprocess.run(
            ["xprop", "-root", "-notype", "_NET_SUPPORTING_WM_CHECK"], env=base,
            capture_output=True, text=True).stdout, "the window manager")

        read_fd, write_fd = os.pipe()
        self._start(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                     "--print-address=%d" % write_fd], base, pass_fds=(write_fd,),
                    stdout=self._console, stderr=subprocess.STDOUT)
        os.close(write_fd)
        base["DBUS_SESSION_BUS_ADDRESS"] = self._read_line_from(read_fd, "dbus-daemon")

        # The accessibility bus and its registry, up before anyone asks for them.
        self._start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], base,
                    stdout=self._console, stderr=subprocess.STDOUT)

        prefs = self.scratch / "orca"
        prefs.mkdir(exist_ok=True)
        (prefs / "user-settings.conf").write_text(json.dumps(_orca_settings(), indent=1))
        master, slave = pty.openpty()
        tty.setraw(slave)
        self.speech = SpeechLog(master, self._log_path)
        # The slave stays open here until the end: a pseudo-terminal without any open slave
        # reads as ended, and Orca opens it only once it has started.
        self._slave = slave
        self.speech.writer = self._start(
            ["orca", "--user-prefs", str(prefs), "--debug-file", os.ttyname(slave)], base,
            stdin=subprocess.DEVNULL, stdout=self._console, stderr=subprocess.STDOUT)
        try:
            self.speech.wait_for(lambda b: "Screen reader on." in b.speech, 0, self.timeout,
                                 "Orca's greeting \"Screen reader on.\"")
        except TimeoutError as error:
            raise SessionError("Orca did not come up: %s (its debug log: %s; what it and the "
                               "desktop printed: %s)" % (error, self._log_path,
                                                         self._log_path.with_name("session.log"))
                               ) from error
        self.env = dict(base)
        # The checks drive the keyboard from here, through the accessibility registry.
        os.environ.update({k: base[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                                "XDG_RUNTIME_DIR")})
        return self

    def close(self):
        for process in reversed(self._processes):
            self._signal_group(process, signal.SIGTERM)
        for process in reversed(self._processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self._signal_group(process, signal.SIGKILL)
                process.wait()
        if self._slave is not None:
            os.close(self._slave)
        if self.speech is not None:
            self.speech.close()
        self._console.close()
