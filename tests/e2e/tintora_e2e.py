#!/usr/bin/env python3
"""End-to-end checks of the real tintora program on an X server of its own (Xvfb + openbox).

The checks use the program as a person does: xdotool types and clicks, ImageMagick's `import` reads the
pixels on the screen, xclip reads the clipboard and the primary selection (which is how the texts of the
edit fields are read: End and Shift+Home select them), xprop and xwininfo read what the window manager
sees. Every check starts a fresh program; every wait is bounded; every process started here is
ended by its PID. When a check fails, the screen at that moment is kept as a PNG and its path printed.

    tintora_e2e.py --binary build/app/tintora [--artifacts DIR] [--repeat N] [CHECK ...]
"""

import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

SCREEN = (1280, 1024)
CONVERT = "/usr/bin/convert"  # ImageMagick's own, whatever else is first on PATH
IMPORT = "/usr/bin/import"

MAIN_CAPTION = "Tintora - Das Tool zur Farbmischung    V1.10 Beta"
RESULT_CAPTION = "   Mischergebnis"
MESSAGE_CAPTION = "Mitteilung ..."

BLACK, WHITE, RED, GREEN = (0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 128, 0)
HOVER_YELLOW = (255, 255, 0)
BORDER = (153, 143, 130)  # of a flat button without the pointer on it

# The main window's controls: left, top, width, height in its client area.
CONTROLS = {
    "Label1": (20, 8, 169, 17),
    "Panel1": (16, 24, 185, 185),
    "Refresh": (108, 180, 86, 22),  # EncartaButton5, on Panel1 at 92, 156
    "Edit1": (28, 236, 77, 21),
    "Round": (144, 246, 25, 25),  # HemisphereButton1
    "Display1": (228, 28, 57, 49),  # GroupBox1 at 216, 12
    "Display2": (228, 88, 59, 49),
    "Display3": (228, 148, 59, 49),
    "Slider1": (308, 52, 121, 16),
    "Slider2": (308, 116, 121, 16),
    "Slider3": (308, 177, 121, 16),
    "Link": (296, 248, 69, 13),  # SnxWebLabel1, GroupBox2 at 216, 216
    "Lamp1": (484, 52, 15, 15),  # ZorbLed1, GroupBox3 at 456, 12
    "Lamp2": (532, 52, 15, 15),
    "Dezimal": (476, 80, 86, 22),
    "Hexadezimal": (477, 116, 85, 25),
    "Detach": (476, 156, 86, 22),  # EncartaButton4, "Losgelöst"
    "Reset": (477, 192, 85, 22),
    "Beenden": (476, 236, 86, 22),
}
BUTTONS = ("Refresh", "Dezimal", "Hexadezimal", "Detach", "Reset", "Beenden")
BARE_SURFACE = (6, 120)  # left of the preview panel: no control there
POINTER_PARK = (4, SCREEN[1] - 4)  # on the desktop, away from every window

DEFAULT_TIMEOUT = 5.0
ICON = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "app", "icons", "tintora.png")


class Failure(Exception):
    pass


def run(args, timeout=DEFAULT_TIMEOUT, env=None, check=True, data=None):
    try:
        result = subprocess.run(args, env=env, input=data, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"{args[0]} did not finish within {timeout} s: {' '.join(map(str, args))}")
    if check and result.returncode != 0:
        command = " ".join(map(str, args))
        raise Failure(f"{command} failed ({result.returncode}): {result.stderr.decode(errors='replace')}")
    return result


def poll(what, probe, timeout=DEFAULT_TIMEOUT, interval=0.05):
    """Calls probe() until it answers (True, seen); fails with the last thing seen after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        done, seen = probe()
        if done:
            return seen
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not so after {timeout} s; last seen: {seen!r}")
        time.sleep(interval)


def _end_with_driver():
    # PR_SET_PDEATHSIG: should the driver itself be killed, the kernel ends its children too.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)


def spawn(args, env, log=None, **options):
    """Starts a process that ends with the driver; its output goes to the file `log` or nowhere."""
    options.setdefault("stdin", subprocess.DEVNULL)
    with open(log or os.devnull, "wb") as output:
        return subprocess.Popen(
            args, env=env, stdout=subprocess.DEVNULL, stderr=output, preexec_fn=_end_with_driver, **options
        )


def end_process(process, grace=3.0):
    """Ends one process that we started, by its PID: politely first, then for good."""
    if process is None or process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(grace)


def rgb_of(code):
    """'#RRGGBB' -> (r, g, b)."""
    if not re.fullmatch(r"#[0-9A-F]{6}", code):
        raise Failure(f"not a colour code: {code!r}")
    return tuple(int(code[i : i + 2], 16) for i in (1, 3, 5))


def code_of(rgb):
    return "#%02X%02X%02X" % rgb


def channel_colour(channel, value):
    return tuple(value if c == channel else 0 for c in range(3))


class Shot:
    """One screenshot of the whole screen, 8 bits per channel."""

    def __init__(self, ppm):
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        if not match:
            raise Failure("import gave no 8-bit PPM image")
        self.width, self.height = int(match.group(1)), int(match.group(2))
        self.ppm = ppm
        self.data = memoryview(ppm)[match.end() :]

    def pixel(self, x, y):
        offset = 3 * (y * self.width + x)
        return tuple(self.data[offset : offset + 3])

    def colours(self, rect):
        x0, y0, w, h = rect
        return {self.pixel(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w)}

    def save_png(self, path):
        run([CONVERT, "ppm:-", path], data=bytes(self.ppm), timeout=20)


class XServer:
    """Xvfb on a free display, with openbox as the window manager."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.processes = []
        self.helpers = []  # xclip processes that hold a selection for us
        self.last_shot = None

    def start(self):
        read_end, write_end = os.pipe()
        xvfb = spawn(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
            env=None,
            log=os.path.join(self.workdir, "xvfb.log"),
            pass_fds=[write_end],
        )
        self.processes.append(xvfb)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 10
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                raise Failure("Xvfb did not name its display within 10 s (see xvfb.log)")
            number += chunk
        os.close(read_end)

        runtime = os.path.join(self.workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.env.update(
            DISPLAY=":" + number.decode().strip(),
            XDG_RUNTIME_DIR=runtime,
            # The window manager reads its stock configuration, not the user's.
            XDG_CONFIG_HOME=os.path.join(self.workdir, "config"),
            XDG_CACHE_HOME=os.path.join(self.workdir, "cache"),
            LANG="C.UTF-8",
        )
        openbox = spawn(["openbox", "--sm-disable"], self.env, os.path.join(self.workdir, "openbox.log"))
        self.processes.append(openbox)
        poll("openbox manages the display", lambda: self._wm_running(openbox), timeout=10)

    def _wm_running(self, openbox):
        if openbox.poll() is not None:
            with open(os.path.join(self.workdir, "openbox.log"), errors="replace") as log:
                raise Failure(f"openbox ended at start: {log.read().strip()}")
        out = run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, check=False).stdout.decode()
        return "window id #" in out, out.strip()

    def stop(self):
        self.release_selections()
        for process in reversed(self.processes):
            end_process(process)

    def release_selections(self):
        for holder in self.helpers:
            end_process(holder)
        self.helpers.clear()

    def x(self, *args, timeout=DEFAULT_TIMEOUT, check=True):
        return run(list(args), env=self.env, timeout=timeout, check=check).stdout.decode(errors="replace")

    def xdotool(self, *args):
        return self.x("xdotool", *map(str, args))

    def screenshot(self):
        self.last_shot = Shot(run([IMPORT, "-silent", "-window", "root", "-depth", "8", "ppm:-"], env=self.env).stdout)
        return self.last_shot

    def selection(self, which):
        """The text the owner of a selection gives, or None when nobody owns it."""
        result = run(["xclip", "-o", "-selection", which], env=self.env, check=False)
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    def own_selection(self, which, text):
        """Puts text into a selection, held by an xclip of ours until someone else takes it."""
        holder = spawn(["xclip", "-i", "-selection", which, "-quiet"], self.env, stdin=subprocess.PIPE)
        self.helpers.append(holder)
        holder.stdin.write(text.encode("utf-8"))
        holder.stdin.close()
        poll(f"our text is in the {which} selection", lambda: ((seen := self.selection(which)) == text, seen))

    def prop(self, window, name):
        return self.x("xprop", "-id", str(window), name)

    def window_state(self, window):
        return re.findall(r"_NET_WM_STATE_\w+", self.x("xprop", "-id", str(window), "_NET_WM_STATE", check=False))

    def viewable(self, window):
        return "IsViewable" in self.x("xwininfo", "-id", str(window), check=False)

    def client_rect(self, window):
        """Left, top, width, height of the client area on the screen."""
        info = self.x("xwininfo", "-id", str(window))
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"))

    def frame_rect(self, window):
        """Left, top, width, height of the window manager's frame around the window."""
        x, y, w, h = self.client_rect(window)
        extents = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)", self.prop(window, "_NET_FRAME_EXTENTS"))
        if not extents:
            raise Failure(f"window {window} has no frame extents")
        left, right, top, bottom = map(int, extents.groups())
        return (x - left, y - top, w + left + right, h + top + bottom)

    def caption(self, window):
        match = re.search(r'_NET_WM_NAME\(UTF8_STRING\) = "(.*)"', self.prop(window, "_NET_WM_NAME"))
        return match.group(1) if match else None

    def active_window(self):
        return int(self.x("xdotool", "getactivewindow", check=False).strip() or 0)

    def stacking(self):
        return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", self.x("xprop", "-root", "_NET_CLIENT_LIST_STACKING"))]


class Tintora:
    """One run of the program on the test display."""

    def __init__(self, server, binary, workdir):
        self.server = server
        self.last_click = None
        server.xdotool("mousemove", *POINTER_PARK)  # not over where a control of the new window will be
        self.log_path = os.path.join(workdir, "tintora.log")
        self.process = spawn([binary], server.env, self.log_path)
        self.main = poll("the main window is on the screen", lambda: self.window_with_caption(MAIN_CAPTION))
        self.origin = self.server.client_rect(self.main)[:2]
        self.wait_for_colour("the first paint lights the Dez lamp", self.lamp(1), RED)

    def window_with_caption(self, caption):
        """The viewable window of this process with this caption: (found, id)."""
        if self.process.poll() is not None:
            raise Failure(f"tintora ended with status {self.process.returncode} (see {self.log_path})")
        for window in self.windows():
            if self.server.caption(window) == caption and self.server.viewable(window):
                return True, window
        return False, None

    def windows(self):
        out = self.server.x("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid), check=False)
        return [int(w) for w in out.split()]

    def captions(self):
        return sorted(self.server.caption(w) or "" for w in self.windows() if self.server.viewable(w))

    def stop(self):
        end_process(self.process)

    def wait_for_exit(self, timeout=DEFAULT_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"tintora still runs {timeout} s later; its windows: {self.captions()}")

    def stderr(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as log:
            return log.read()

    # Places in the main window, as screen coordinates.

    def at(self, x, y):
        return (self.origin[0] + x, self.origin[1] + y)

    def rect(self, name, inset=0):
        x, y, w, h = CONTROLS[name]
        return (self.origin[0] + x + inset, self.origin[1] + y + inset, w - 2 * inset, h - 2 * inset)

    def centre(self, name):
        x, y, w, h = self.rect(name)
        return (x + w // 2, y + h // 2)

    def preview(self):
        """The part of the preview panel above the refresh button."""
        x, y, w, h = self.rect("Panel1", inset=2)
        return (x, y, w, 150)

    def display_background(self, channel):
        """The part of a display to the right of its text."""
        x, y, w, h = self.rect("Display%d" % (channel + 1))
        return (x + 32, y + 5, w - 37, h - 10)

    def display_text(self, channel):
        x, y, w, h = self.rect("Display%d" % (channel + 1))
        return (x + 2, y + 8, 28, h - 16)

    def detach_face(self):
        """The strips of the detach button left and right of its caption."""
        x, y, w, h = self.rect("Detach")
        return [(x + 3, y + 3, 8, h - 6), (x + w - 11, y + 3, 8, h - 6)]

    def detach_caption(self):
        x, y, w, h = self.rect("Detach")
        return (x + 14, y + 4, w - 28, h - 8)

    def lamp(self, number):
        x, y, _, _ = self.rect("Lamp%d" % number)
        return (x + 9, y + 9, 2, 2)

    def button_face(self, shot):
        """The window's button-face colour, as its bare surface shows it."""
        return shot.pixel(*self.at(*BARE_SURFACE))

    # Input.

    def click(self, point, button=1):
        # xdotool's own click waits 100 ms after it; a press and a release are the same to the program.
        self.server.xdotool("mousemove", point[0], point[1], "mousedown", button, "mouseup", button)
        self.last_click = point

    def click_control(self, name):
        self.click(self.centre(name))

    def press_button(self, name):
        """Clicks a flat button as a person does: the pointer rests on it (its raised edge shows) first."""
        x, y, w, _ = self.rect(name)
        self.hover_until(f"the pointer is on {name}", self.centre(name), lambda s: s.pixel(x + w // 2, y) != BORDER)
        self.click(self.centre(name))

    def park_pointer(self):
        self.server.xdotool("mousemove", *POINTER_PARK)

    def keys(self, *names, repeat=1):
        self.server.xdotool("key", "--delay", "2", "--repeat", repeat, *names)

    def type(self, text):
        # Only characters of the keyboard layout: xdotool types others by remapping a key, which leaves the
        # program's keyboard state behind. Other characters come by the clipboard.
        self.server.xdotool("type", "--delay", "4", text)

    def drag(self, start, points):
        """Presses the left button at start, moves through points as fast as xdotool can, releases at the last."""
        args = ["mousemove", start[0], start[1], "mousedown", 1]
        for x, y in points:
            args += ["mousemove", x, y]
        self.server.xdotool(*args, "mouseup", 1)

    def focus_slider(self, channel):
        """Keyboard focus to a slider, along the tab order back from Edit1 (a click on a slider would move it):
        the three sliders, the three displays, Edit1."""
        self.click_control("Edit1")
        self.keys("shift+Tab", repeat=6 - channel)

    # Reading the screen.

    def wait_for_colour(self, what, rect, colour, timeout=DEFAULT_TIMEOUT):
        """Waits until every pixel of rect has exactly this colour; returns that screenshot."""

        def probe():
            shot = self.server.screenshot()
            colours = shot.colours(rect)
            return colours == {colour}, sorted(colours)[:6]

        poll(f"{what} {colour}", probe, timeout)
        return self.server.last_shot

    def wait_for_screen(self, what, predicate, timeout=DEFAULT_TIMEOUT):
        """Waits until predicate(shot) holds for a screenshot and returns that shot."""

        def probe():
            shot = self.server.screenshot()
            return predicate(shot), "see the screenshot"

        poll(what, probe, timeout)
        return self.server.last_shot

    def field_text(self, name):
        """The whole text of an edit field, read as the primary selection after selecting it with the keys."""
        x, y, w, h = self.rect(name)
        # Two clicks at one spot would make a double click, which selects a word by itself.
        spots = [(x + 8, y + h // 2), (x + w - 8, y + h // 2)]
        self.click(spots[1] if self.last_click == spots[0] else spots[0])
        marker = "(nothing selected yet)"
        self.server.own_selection("primary", marker)
        self.keys("End", "shift+Home")
        selected = lambda: ((text := self.server.selection("primary")) != marker, text)
        return poll(f"the text of {name} is selected", selected)

    def edit1_text(self):
        return self.field_text("Edit1")

    def display_value(self, channel):
        return self.field_text("Display%d" % (channel + 1))

    def hover_until(self, what, point, predicate, timeout=DEFAULT_TIMEOUT):
        """Moves the pointer to point, a pixel to and fro, until predicate(shot) holds. A pointer warped in right
        after a burst of synthetic clicks is not always seen as entering the widget there; the next move is."""
        nudge = [0]

        def probe():
            nudge[0] ^= 1
            self.server.xdotool("mousemove", point[0] + nudge[0], point[1])
            return predicate(self.server.screenshot()), "see the screenshot"

        poll(what, probe, timeout)
        return self.server.last_shot

    def sync(self):
        """Returns once the program has handled every input sent before: the reset button's hover colour is
        drawn only after them. Hovering it changes nothing else."""
        x, y, w, h = self.rect("Reset")
        hovered = lambda shot: shot.pixel(x + 4, y + h // 2) == HOVER_YELLOW
        self.hover_until("the program answers", self.centre("Reset"), hovered)
        self.park_pointer()
        self.wait_for_screen("the hover ends", lambda shot: not hovered(shot))

    # Expectations.

    def expect_mix(self, rgb, caption=None, detach_moved=True):
        """The preview, the three displays and the detach button show the colour `rgb` exactly."""
        shot = self.wait_for_colour("the preview shows", self.preview(), rgb)
        for channel in range(3):
            expected = channel_colour(channel, rgb[channel])
            seen = shot.colours(self.display_background(channel))
            if seen != {expected}:
                raise Failure(f"display {channel + 1} background: expected {expected}, saw {sorted(seen)[:6]}")
        face = rgb if detach_moved else self.button_face(shot)
        for strip in self.detach_face():
            if shot.colours(strip) != {face}:
                raise Failure(f"detach button face: expected {face}, saw {sorted(shot.colours(strip))[:6]}")
        if caption is not None:
            expect_text_colour(shot, self.detach_caption(), face, caption, "detach button caption")
        return shot

    def expect_texts(self, texts, code):
        for channel, text in enumerate(texts):
            expect_equal(f"display {channel + 1} text", self.display_value(channel), text)
        expect_equal("Edit1", self.edit1_text(), code)

    def refresh_button_shown(self, shot, preview_colour):
        """Where the refresh button lies, the preview shows through when it is hidden."""
        return shot.colours(self.rect("Refresh", inset=3)) != {preview_colour}

    def expect_refresh_button(self, shot, visible, preview_colour):
        if self.refresh_button_shown(shot, preview_colour) != visible:
            raise Failure(f"refresh button {'hidden' if visible else 'shown'}, expected the opposite")

    def wait_for_refresh_button(self, visible, preview_colour):
        return self.wait_for_screen(
            f"refresh button {'shown' if visible else 'hidden'}",
            lambda shot: self.refresh_button_shown(shot, preview_colour) == visible,
        )

    def expect_lamps(self, dez_on):
        on, off = (self.lamp(1), self.lamp(2)) if dez_on else (self.lamp(2), self.lamp(1))
        shot = self.wait_for_colour("the lamp of the mode is red", on, RED)
        if shot.colours(off) != {GREEN}:
            raise Failure(f"the other lamp: expected green {GREEN}, saw {sorted(shot.colours(off))}")

    def press_round_button(self, while_open=None):
        """Clicks the round button's face, waits for its message box, reads the clipboard, runs while_open(),
        closes the box with Return. Returns what was on the clipboard while the box was open."""
        self.click_control("Round")
        box = poll(f'the message box "{MESSAGE_CAPTION}" appears', lambda: self.window_with_caption(MESSAGE_CAPTION))
        # The box is closed by the keyboard: it must have the focus first.
        poll("the message box is active", lambda: ((seen := self.server.active_window()) == box, seen))
        copied = self.server.selection("clipboard")
        if while_open:
            while_open()
        self.server.xdotool("key", "Return")
        poll("the message box closes", lambda: (not self.server.viewable(box), self.captions()))
        return copied


def expect_equal(what, seen, expected):
    if seen != expected:
        raise Failure(f"{what}: expected {shorten(expected)}, saw {shorten(seen)}")


def shorten(value):
    text = repr(value)
    return text if len(text) <= 120 else f"{text[:100]}...{text[-12:]} ({len(value)} long)"


def distance(a, b):
    return max(abs(p - q) for p, q in zip(a, b))


def expect_text_colour(shot, rect, background, colour, what):
    """Text is drawn in `colour` on `background`: the pixel that differs most from the background, the core of a
    stroke, is close to `colour` (text is smoothed, so its pixels are blends of the two)."""
    strongest = max(shot.colours(rect), key=lambda c: distance(c, background))
    if distance(strongest, background) < 64 or distance(strongest, colour) > 48:
        raise Failure(f"{what}: expected text in {colour} on {background}, its strongest pixel is {strongest}")


CHECKS = []


def check(function):
    CHECKS.append(function)
    return function


# The checks. Each gets a fresh program `app` on the X server `x`.


@check
def window_settings(app, x):
    expect_equal("main window caption", x.caption(app.main), MAIN_CAPTION)
    expect_equal("application class", window_class(x, app.main), "Tintora")
    expect_equal("client size", x.client_rect(app.main)[2:], (593, 279))
    hints = x.prop(app.main, "WM_NORMAL_HINTS")
    for kind in ("minimum", "maximum"):
        if f"program specified {kind} size: 593 by 279" not in hints:
            raise Failure(f"the window manager is not told the fixed size 593 x 279: {hints}")
    actions = x.prop(app.main, "_NET_WM_ALLOWED_ACTIONS")
    for action in ("_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"):
        if action in actions:
            raise Failure(f"the window manager offers {action}")
    for action in ("_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_CLOSE"):
        if action not in actions:
            raise Failure(f"the window manager does not offer {action}")
    x.xdotool("windowsize", app.main, 800, 600)
    app.sync()
    expect_equal("client size after a resize request", x.client_rect(app.main)[2:], (593, 279))


@check
def window_centred(app, x):
    left, top, width, height = x.frame_rect(app.main)
    centre = (left + width / 2, top + height / 2)
    if abs(centre[0] - SCREEN[0] / 2) > 1 or abs(centre[1] - SCREEN[1] / 2) > 1:
        raise Failure(f"the frame {left, top, width, height} is not centred on the screen: its centre is {centre}")


@check
def window_icon(app, x):
    # _NET_WM_ICON holds width, height and then ARGB pixels, for each size the program offers.
    listing = x.x("xprop", "-id", str(app.main), "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON")
    numbers = [int(n) for n in re.findall(r"\d+", listing.partition("=")[2])]
    icons = {}
    while len(numbers) >= 2:
        width, height = numbers[:2]
        icons[width, height] = numbers[2 : 2 + width * height]
        numbers = numbers[2 + width * height :]
    if (32, 32) not in icons:
        raise Failure(f"the main window offers no 32 x 32 icon, only {sorted(icons)}")
    raw = run([CONVERT, ICON, "-depth", "8", "rgba:-"]).stdout
    expected = [a << 24 | r << 16 | g << 8 | b for r, g, b, a in zip(raw[0::4], raw[1::4], raw[2::4], raw[3::4])]
    differing = sum(seen != wanted and (seen | wanted) >> 24 != 0 for seen, wanted in zip(icons[32, 32], expected))
    if differing:
        raise Failure(f"the 32 x 32 window icon differs from {ICON} in {differing} pixels")


def window_class(x, window):
    """The class part of WM_CLASS, the name under which the desktop groups the program's windows."""
    match = re.search(r'"([^"]*)", "([^"]*)"', x.prop(window, "WM_CLASS"))
    return match.group(2) if match else None


@check
def start_state(app, x):
    shot = app.wait_for_colour("the whole preview, without a refresh button,", app.rect("Panel1", inset=2), BLACK)
    for channel in range(3):
        expect_equal(f"display {channel + 1} background", shot.colours(app.display_background(channel)), {BLACK})
        expect_text_colour(shot, app.display_text(channel), BLACK, WHITE, f"display {channel + 1}")
    app.expect_lamps(dez_on=True)
    app.expect_mix(BLACK, caption=BLACK, detach_moved=False)
    expect_equal("windows at start", app.captions(), [MAIN_CAPTION])
    app.expect_texts(["0", "0", "0"], "#000000")


@check
def sliders_by_keyboard(app, x):
    # The red slider has the keyboard focus from the start; the tab key walks on to green and blue.
    steps = [
        (["Right"], (1, 0, 0), WHITE),
        (["End"], (255, 0, 0), WHITE),
        (["Left"] * 5, (250, 0, 0), WHITE),
        (["Tab", "End"] + ["Left"] * 105, (250, 150, 0), BLACK),
        (["Left"], (250, 149, 0), WHITE),
        (["Right"], (250, 150, 0), BLACK),
        (["Tab"] + ["Right"] * 3, (250, 150, 3), WHITE),
        (["Home"], (250, 150, 0), WHITE),
        (["Right"] * 200, (250, 150, 200), WHITE),
    ]
    for keys, rgb, caption in steps:
        app.keys(*keys)
        shot = app.expect_mix(rgb, caption=caption)
        green_text = BLACK if rgb[1] >= 150 else WHITE
        expect_text_colour(shot, app.display_text(1), (0, rgb[1], 0), green_text, f"green display at {rgb[1]}")
    app.expect_texts(["250", "150", "200"], "#FA96C8")


@check
def sliders_by_mouse(app, x):
    x0, y0, w, h = app.rect("Slider3")
    middle = y0 + h // 2
    for _ in range(3):
        app.click((x0 + w - 6, middle))  # the right arrow button
    app.expect_mix((0, 0, 3), caption=WHITE)
    app.click((x0 + w - 30, middle))  # the track right of the thumb
    app.expect_mix((0, 0, 4))
    app.click((x0 + 6, middle))  # the left arrow button
    app.expect_mix((0, 0, 3))

    # The thumb of a slider at 0 lies right of its left arrow button; dragged past the end it gives 255.
    x0, y0, w, h = app.rect("Slider2")
    middle = y0 + h // 2
    app.drag((x0 + 24, middle), [(x0 + 60, middle), (x0 + w + 40, middle)])
    app.expect_mix((0, 255, 3), caption=BLACK)
    app.drag((x0 + w - 24, middle), [(x0 - 40, middle)])
    app.expect_mix((0, 0, 3), caption=WHITE)
    app.expect_texts(["0", "0", "3"], "#000003")


@check
def copy_button(app, x):
    app.keys("End")
    app.expect_mix((255, 0, 0))
    released = x.screenshot().colours(app.rect("Round"))
    pressed = []
    copied = app.press_round_button(lambda: pressed.append(x.screenshot().colours(app.rect("Round"))))
    expect_equal("clipboard after the round button", copied, "#FF0000")
    if pressed[0] == released:
        raise Failure("the round button is not drawn pressed while its message box is open")
    app.expect_mix((255, 0, 0))
    expect_equal("Edit1 after the message box", app.edit1_text(), "#FF0000")

    # What Edit1 holds is what is copied, typed text too; then it shows the code again.
    app.keys("BackSpace")
    app.type("Hallo Welt! 12,5 #xyz")
    expect_equal("clipboard after typing into Edit1", app.press_round_button(), "Hallo Welt! 12,5 #xyz")
    expect_equal("Edit1 after the message box", app.edit1_text(), "#FF0000")
    app.expect_mix((255, 0, 0))


@check
def round_button_corners(app, x):
    # The corners of the round button lie outside its face: clicks there copy nothing and show no message.
    x.own_selection("clipboard", "untouched")
    x0, y0, w, h = app.rect("Round")
    for corner in ((x0 + 1, y0 + 1), (x0 + w - 2, y0 + 1), (x0 + 1, y0 + h - 2), (x0 + w - 2, y0 + h - 2)):
        app.click(corner)
    app.sync()
    expect_equal("windows after clicks beside the face", app.captions(), [MAIN_CAPTION])
    expect_equal("clipboard after clicks beside the face", x.selection("clipboard"), "untouched")


@check
def display_mode(app, x):
    app.keys("End", *["Left"] * 84)
    app.expect_mix((171, 0, 0))
    app.press_button("Hexadezimal")
    app.expect_lamps(dez_on=False)
    app.expect_mix((171, 0, 0))
    app.expect_texts(["ABh", "00h", "00h"], "#AB0000")
    app.focus_slider(1)
    app.keys("End")
    app.expect_mix((171, 255, 0), caption=BLACK)
    expect_equal("display 2 text in hexadecimal mode", app.display_value(1), "FFh")
    app.press_button("Dezimal")
    app.expect_lamps(dez_on=True)
    app.expect_mix((171, 255, 0))
    app.expect_texts(["171", "255", "0"], "#ABFF00")


@check
def reset(app, x):
    app.keys(*["Right"] * 10, "Tab", "End", *["Left"] * 55)
    app.expect_mix((10, 200, 0), caption=BLACK)
    app.press_button("Hexadezimal")
    app.expect_lamps(dez_on=False)
    app.press_button("Reset")
    app.park_pointer()
    app.expect_lamps(dez_on=True)
    shot = app.expect_mix(BLACK, caption=BLACK, detach_moved=False)
    for channel in range(3):
        expect_text_colour(shot, app.display_text(channel), BLACK, WHITE, f"display {channel + 1} after the reset")
    app.expect_texts(["0", "0", "0"], "#000000")


def show_result_window(app, x, rgb):
    """Clicks "Losgelöst" and waits for the result window in colour rgb; returns its id and client area."""
    app.press_button("Detach")
    result = poll("the result window appears", lambda: app.window_with_caption(RESULT_CAPTION))
    rect = x.client_rect(result)
    app.wait_for_colour("the result window shows", rect, rgb)
    return result, rect


def activate(app, x, window, how):
    how()
    poll("the window is active", lambda: ((seen := x.active_window()) == window, seen))


@check
def result_window_settings(app, x):
    app.keys("End", "Tab", "End", *["Left"] * 127)
    app.expect_mix((255, 128, 0))
    result, rect = show_result_window(app, x, (255, 128, 0))
    expect_equal("result window caption", x.caption(result), RESULT_CAPTION)
    expect_equal("result window class", window_class(x, result), "Tintora")
    expect_equal("result window client size", rect[2:], (177, 180))
    if "_NET_WM_STATE_ABOVE" not in x.window_state(result):
        raise Failure(f"the result window is not kept above: {x.window_state(result)}")
    app.wait_for_refresh_button(True, (255, 128, 0))
    activate(app, x, app.main, lambda: app.click_control("Label1"))
    stack = x.stacking()
    if stack.index(result) < stack.index(app.main):
        raise Failure("the result window went below the activated main window")
    expect_equal("result window frame position", x.frame_rect(result)[:2], (739, 182))


@check
def result_window_colour(app, x):
    app.keys("End", "Tab", "End", *["Left"] * 127)
    app.expect_mix((255, 128, 0))
    result, rect = show_result_window(app, x, (255, 128, 0))
    place = x.frame_rect(result)[:2]

    # The sliders leave it as it is and show the refresh button; "Aktualisieren" recolours it.
    activate(app, x, app.main, lambda: app.click_control("Label1"))
    app.keys("Home")
    shot = app.expect_mix((255, 0, 0))
    expect_equal("result window after a slider move", shot.colours(rect), {(255, 128, 0)})
    app.expect_refresh_button(shot, True, (255, 0, 0))
    app.press_button("Refresh")
    app.park_pointer()
    app.wait_for_colour("the refreshed result window shows", rect, (255, 0, 0))
    app.expect_mix((255, 0, 0))

    # Closed, it is hidden and so is the refresh button; mode buttons and sliders do not bring either back.
    activate(app, x, result, lambda: x.xdotool("windowactivate", result))
    x.xdotool("key", "alt+F4")
    poll("the result window closes", lambda: (not x.viewable(result), x.window_state(result)))
    app.wait_for_refresh_button(False, (255, 0, 0))
    app.press_button("Hexadezimal")
    app.expect_lamps(dez_on=False)
    app.focus_slider(2)
    app.keys("Right")
    shot = app.expect_mix((255, 0, 1))
    app.expect_refresh_button(shot, False, (255, 0, 1))
    expect_equal("windows after closing the result window", app.captions(), [MAIN_CAPTION])

    # Shown again: in the colour of now, where it was before.
    result, rect = show_result_window(app, x, (255, 0, 1))
    expect_equal("result window position when shown again", x.frame_rect(result)[:2], place)
    app.wait_for_refresh_button(True, (255, 0, 1))


@check
def result_window_to_main_window(app, x):
    # Clicking from the result window into the main window: the result window's deactivation hides the
    # refresh button, the main window's activation shows it again, as the result window is still visible.
    app.keys("Right")
    app.expect_mix((1, 0, 0))
    show_result_window(app, x, (1, 0, 0))
    app.wait_for_refresh_button(True, (1, 0, 0))
    activate(app, x, app.main, lambda: app.click_control("Label1"))
    app.park_pointer()
    app.sync()
    app.expect_refresh_button(x.screenshot(), True, (1, 0, 0))


@check
def minimise_and_restore(app, x):
    app.keys(*["Right"] * 40)
    app.expect_mix((40, 0, 0))
    result, _ = show_result_window(app, x, (40, 0, 0))
    activate(app, x, app.main, lambda: app.click_control("Label1"))
    shows_refresh = lambda shot: app.refresh_button_shown(shot, (40, 0, 0))
    # A move over the bare surface of the main window shows the refresh button while the result window is up.
    app.hover_until("a move over the bare surface shows the refresh button", app.at(*BARE_SURFACE), shows_refresh)
    app.park_pointer()

    x.xdotool("windowminimize", app.main)
    poll("the main window is minimised", lambda: (not x.viewable(app.main), x.window_state(app.main)))
    x.xdotool("windowactivate", app.main)
    poll("the main window is restored", lambda: (x.viewable(app.main), x.window_state(app.main)))
    app.wait_for_refresh_button(False, (40, 0, 0))
    if not x.viewable(result):
        raise Failure("the result window went away when the main window was restored")
    app.expect_mix((40, 0, 0))
    app.hover_until("a move over the bare surface shows the refresh button", app.at(*BARE_SURFACE), shows_refresh)


@check
def exit_by_beenden(app, x):
    app.keys("End")
    app.expect_mix((255, 0, 0))
    app.press_button("Beenden")
    expect_equal("exit status after Beenden", app.wait_for_exit(), 0)
    expect_quiet(app)


@check
def exit_by_closing_main_with_result_open(app, x):
    show_result_window(app, x, BLACK)
    activate(app, x, app.main, lambda: x.xdotool("windowactivate", app.main))
    x.xdotool("key", "alt+F4")
    expect_equal("exit status after closing the main window", app.wait_for_exit(), 0)
    expect_quiet(app)


def expect_quiet(app):
    for line in app.stderr().splitlines():
        if re.search(r"QObject::|No such (slot|signal)|ASSERT|runtime error|Sanitizer", line):
            raise Failure(f"the program complained: {line}")


@check
def bad_input(app, x):
    # Garbage typed into a read-only display is refused; only the sign keys act, as on any number.
    app.click(app.centre("Display1"))
    app.type("abcXYZ!?$%&/()=*#'~ .," + "q" * 40)
    expect_equal("display 1 after garbage", app.display_value(0), "0")
    app.keys("minus")
    expect_equal("display 1 after '-'", app.display_value(0), "-0")
    app.focus_slider(0)
    app.keys("Right")
    app.expect_mix((1, 0, 0))
    expect_equal("display 1 after a slider move", app.display_value(0), "1")

    # Pasted garbage does not reach a display.
    garbage = "<b>Ωé #GG00ZZ-255; " * 300
    x.own_selection("clipboard", garbage)
    app.click(app.centre("Display2"))
    app.keys("ctrl+v", "shift+Insert")
    app.click(app.centre("Display2"), button=2)
    expect_equal("display 2 after pasting", app.display_value(1), "0")
    app.expect_mix((1, 0, 0))

    # Clicks all over the window but on the command buttons, the link and the round button's face.
    avoid = [app.rect(name) for name in BUTTONS + ("Link",)]
    rx, ry = app.centre("Round")
    grid = [app.at(gx, gy) for gy in range(4, 279, 17) for gx in range(4, 593, 29)]
    clicks = []
    for px, py in grid:
        if any(ax <= px < ax + aw and ay <= py < ay + ah for ax, ay, aw, ah in avoid):
            continue
        if (px - rx) ** 2 + (py - ry) ** 2 <= 12**2:
            continue
        clicks += ["mousemove", px, py, "mousedown", 1, "mouseup", 1]
    x.xdotool(*clicks)
    app.sync()
    expect_equal("windows after clicks everywhere", app.captions(), [MAIN_CAPTION])
    expect_consistent(app)

    # Fast drags of every thumb, from 0 far past both ends and back to the middle: wherever each ends,
    # every colour agrees with the code.
    for channel in range(3):
        app.focus_slider(channel)
        app.keys("Home")
        x0, y0, w, h = app.rect("Slider%d" % (channel + 1))
        middle = y0 + h // 2
        zigzag = [(x0 + w + 30 if i % 2 else x0 - 30, middle) for i in range(12)] + [(x0 + 40 + 17 * channel, middle)]
        app.drag((x0 + 24, middle), zigzag)
    app.sync()
    rgb = expect_consistent(app)
    if 0 in rgb:
        raise Failure(f"a drag left its slider at 0: {rgb}")

    # Edit1 takes any text, typed or pasted, and changes nothing else; the round button copies it.
    app.click_control("Edit1")
    app.keys("End", "shift+Home", "ctrl+v")
    app.type(" <&> ~")
    expect_equal("Edit1 after pasting", app.edit1_text(), garbage + " <&> ~")
    app.expect_mix(rgb)
    copied = app.press_round_button()
    expect_equal("clipboard after the round button", copied, garbage + " <&> ~")
    expect_equal("Edit1 after the message box", app.edit1_text(), code_of(rgb))


def expect_consistent(app):
    """The code in Edit1, the display texts, the preview and the display backgrounds all tell the same colour."""
    code = app.edit1_text()
    rgb = rgb_of(code)
    app.park_pointer()
    shot = app.wait_for_colour("the preview shows the code " + code, app.preview(), rgb)
    for channel in range(3):
        expect_equal(f"display {channel + 1} text", app.display_value(channel), str(rgb[channel]))
        expect_equal(
            f"display {channel + 1} background",
            shot.colours(app.display_background(channel)),
            {channel_colour(channel, rgb[channel])},
        )
    return rgb


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True, help="the tintora program to check")
    parser.add_argument("--artifacts", default="e2e-artifacts", help="where the screenshots of failures go")
    parser.add_argument("--repeat", type=int, default=1, help="run the checks this many times (to find flakes)")
    parser.add_argument("checks", nargs="*", help="names of the checks to run (default: all)")
    options = parser.parse_args()

    known = [c.__name__ for c in CHECKS]
    unknown = sorted(set(options.checks) - set(known))
    if unknown:
        parser.error(f"unknown checks: {', '.join(unknown)} (known: {', '.join(known)})")
    for tool in ("Xvfb", "openbox", "xdotool", "xclip", "xprop", "xwininfo", IMPORT, CONVERT):
        if not shutil.which(tool):
            print(f"missing tool: {tool} (scripts/install-deps.sh installs it)", file=sys.stderr)
            return 2
    # Ended from outside (a CTest timeout, Ctrl+C), the driver still ends what it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))

    selected = [c for c in CHECKS if not options.checks or c.__name__ in options.checks] * options.repeat
    binary = os.path.abspath(options.binary)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="tintora-e2e-") as workdir:
        server = XServer(workdir)
        try:
            server.start()
            failed = [c.__name__ for c in selected if not run_check(c, server, binary, workdir, options.artifacts)]
        finally:
            server.stop()
    print(f"{len(selected) - len(failed)} of {len(selected)} checks passed in {time.monotonic() - started:.0f} s")
    return 1 if failed else 0


def run_check(function, server, binary, workdir, artifacts):
    began = time.monotonic()
    app = None
    try:
        app = Tintora(server, binary, workdir)
        function(app, server)
        print(f"PASS {function.__name__} ({time.monotonic() - began:.1f} s)", flush=True)
        return True
    except Exception as error:
        if isinstance(error, Failure):
            frames = [f for f in traceback.extract_tb(error.__traceback__) if f.name == function.__name__]
            where = f" (line {frames[-1].lineno}: {frames[-1].line})" if frames else ""
            print(f"FAIL {function.__name__}: {error}{where}", flush=True)
        else:
            print(f"FAIL {function.__name__}:\n{traceback.format_exc()}", flush=True)
        keep_screenshot(server, artifacts, function.__name__)
        if app is not None and app.stderr().strip():
            print("  program output:\n    " + app.stderr().strip().replace("\n", "\n    "), flush=True)
        return False
    finally:
        if app is not None:
            app.stop()
        server.release_selections()


def keep_screenshot(server, folder, name):
    try:
        shot = server.screenshot()
    except Failure:
        shot = server.last_shot
    if shot is None:
        return
    os.makedirs(folder, exist_ok=True)
    path = os.path.abspath(os.path.join(folder, name + ".png"))
    shot.save_png(path)
    print(f"  screenshot: {path}", flush=True)


if __name__ == "__main__":
    sys.exit(main())
