#!/usr/bin/env python3
"""End-to-end checks of our widgets outside our own code, on an X server of its own (Xvfb + openbox).

designer: Qt Designer starts with our plugin on its plugin path. A probe plugin of this folder reports what
    Designer made of it: the Widget Box holds our four widgets on their pages, and a form that Designer loads
    and saves again keeps the changed properties under their names and stores none of the defaults.
showcase: tintora-widgets starts, shows its window and ends with status 0 when the window manager closes it.

    designer_e2e.py --designer DESIGNER --plugin-path DIR[:DIR...] --showcase BINARY

Every wait is bounded and every process started here is ended by its PID. Without Xvfb, openbox or xdotool
the checks are skipped (exit status 77).
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # no __pycache__ in the source tree for the import below
from tintora_e2e import Failure, XServer, end_process, poll, spawn

SKIPPED = 77
SHOWCASE_CAPTION = "Tintora-Bausteine ausprobieren"
PAGES = {"TNumericEdit": "User", "THexEdit": "User", "TAnzeige": "Beispiele", "TPrintableMemo": "Samples"}
HEADERS = {"TNumericEdit": "Numericedit.h", "THexEdit": "Hexedit.h", "TAnzeige": "Anzeige.h",
           "TPrintableMemo": "Printablememo.h"}
OWN_PROPERTIES = {
    "TNumericEdit": {"Vorkommastellen", "Nachkommastellen", "Seperator", "ShowErrorMessage"},
    "THexEdit": set(),
    "TAnzeige": {"Color_on", "Color_off", "Status"},
    "TPrintableMemo": {"LinesPerPage"},
}

# Each widget once at its defaults, and two with a changed property of their own. No <customwidgets>: what
# Designer knows of the classes must come from the plugin.
FORM = """<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
  <class>Form</class>
  <widget class="QWidget" name="Form">
    <widget class="TNumericEdit" name="NumericEdit1"/>
    <widget class="THexEdit" name="HexEdit1"/>
    <widget class="TAnzeige" name="Anzeige1"/>
    <widget class="TPrintableMemo" name="PrintableMemo1"/>
    <widget class="TNumericEdit" name="NumericEdit2">
      <property name="Vorkommastellen" stdset="0"><number>5</number></property>
    </widget>
    <widget class="TAnzeige" name="Anzeige2">
      <property name="Status" stdset="0"><bool>true</bool></property>
    </widget>
  </widget>
</ui>
"""
CHANGED = {"NumericEdit2": ("Vorkommastellen", "number", "5"), "Anzeige2": ("Status", "bool", "true")}


def designer(server, options, workdir):
    form = os.path.join(workdir, "form.ui")
    with open(form, "w", encoding="utf-8") as file:
        file.write(FORM)
    report = os.path.join(workdir, "probe.txt")
    log = os.path.join(workdir, "designer.log")
    env = dict(server.env, QT_PLUGIN_PATH=options.plugin_path, QT_DEBUG_PLUGINS="1",
               TINTORA_PROBE_OUTPUT=report, TINTORA_PROBE_FORM=form)
    process = spawn([options.designer], env, log)
    try:
        def reported():
            if process.poll() is not None:
                raise Failure(f"Designer ended with status {process.returncode}: {tail(log)}")
            text = read(report)
            return (True, text) if text.endswith("end\n") else (False, text[-200:])

        lines = poll("the probe reports what Designer loaded", reported, timeout=60).splitlines()
    finally:
        end_process(process)

    if "libtintorawidgets.so\" loaded library" not in read(log):
        raise Failure(f"Designer's plugin log does not show our plugin loaded: {tail(log)}")
    box = {tuple(line.split("\t")[1:]) for line in lines if line.startswith("widget\t")}
    missing = sorted(f"{name} on {page}" for name, page in PAGES.items() if (page, name) not in box)
    if missing:
        raise Failure(f"not in Designer's Widget Box: {', '.join(missing)}")
    saved = next((line[len("saved\t"):] for line in lines if line.startswith("saved\t")), "")
    expect_saved_form(saved)


def expect_saved_form(saved):
    try:
        root = ElementTree.fromstring(saved)
    except ElementTree.ParseError as error:
        raise Failure(f"Designer saved no readable form ({error}): {saved[:300]!r}")
    headers = {w.findtext("class"): w.findtext("header") for w in root.iter("customwidget")}
    for name, header in HEADERS.items():
        if headers.get(name) != header:
            raise Failure(f"Designer names {headers.get(name)!r} as the header of {name}, not {header!r}")
    widgets = {w.get("name"): w for w in root.iter("widget")}
    for name in ("NumericEdit1", "HexEdit1", "Anzeige1", "PrintableMemo1", *CHANGED):
        widget = widgets.get(name)
        if widget is None:
            raise Failure(f"{name} is missing from the form Designer saved")
        stored = {p.get("name"): p for p in widget.findall("property")}
        own = OWN_PROPERTIES[widget.get("class")] & stored.keys()
        expected = {CHANGED[name][0]} if name in CHANGED else set()
        if own != expected:
            raise Failure(f"Designer stored {sorted(own)} of {name}'s own properties, expected {sorted(expected)}")
        if name in CHANGED:
            prop, kind, value = CHANGED[name]
            if stored[prop].get("stdset") != "0" or stored[prop].findtext(kind) != value:
                raise Failure(f"{name}.{prop} saved as {ElementTree.tostring(stored[prop], encoding='unicode')}")


def showcase(server, options, workdir):
    log = os.path.join(workdir, "showcase.log")
    process = spawn([options.showcase], server.env, log)
    try:
        def window():
            if process.poll() is not None:
                raise Failure(f"tintora-widgets ended with status {process.returncode}: {tail(log)}")
            out = server.x("xdotool", "search", "--onlyvisible", "--pid", str(process.pid), check=False)
            found = [w for w in out.split() if server.caption(w) == SHOWCASE_CAPTION and server.viewable(w)]
            return bool(found), found[0] if found else out

        shown = poll("the showcase window is on the screen", window, timeout=15)
        server.xdotool("windowactivate", "--sync", shown)
        server.xdotool("key", "--clearmodifiers", "alt+F4")
        try:
            status = process.wait(5)
        except subprocess.TimeoutExpired:
            raise Failure("tintora-widgets still runs 5 s after its window was closed")
        if status != 0:
            raise Failure(f"tintora-widgets ended with status {status}: {tail(log)}")
    finally:
        end_process(process)


def read(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as file:
            return file.read()
    except FileNotFoundError:
        return ""


def tail(path, lines=15):
    return "\n".join(read(path).splitlines()[-lines:])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--designer", required=True, help="the Qt Designer program")
    parser.add_argument("--plugin-path", required=True, help="QT_PLUGIN_PATH for Designer: our plugin, the probe")
    parser.add_argument("--showcase", required=True, help="the tintora-widgets program")
    options = parser.parse_args()

    missing = [tool for tool in ("Xvfb", "openbox", "xdotool", "xprop", "xwininfo") if not shutil.which(tool)]
    if not os.access(options.designer, os.X_OK):
        missing.append(options.designer)
    if missing:
        print(f"SKIP: missing {', '.join(missing)} (scripts/install-deps.sh installs them)")
        return SKIPPED
    # Ended from outside (a CTest timeout, Ctrl+C), the driver still ends what it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))

    failed = 0
    with tempfile.TemporaryDirectory(prefix="tintora-designer-e2e-") as workdir:
        server = XServer(workdir)
        try:
            server.start()
            for check in (designer, showcase):
                began = time.monotonic()
                try:
                    check(server, options, workdir)
                    print(f"PASS {check.__name__} ({time.monotonic() - began:.1f} s)", flush=True)
                except Failure as failure:
                    failed += 1
                    print(f"FAIL {check.__name__}: {failure}", flush=True)
        finally:
            server.stop()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
