#!/usr/bin/env python3
"""Makes the README's picture, docs/screenshot.png: Tintora's main window beside its result window, each with
its window manager's frame, taken on an X server of its own (Xvfb + openbox, as the end-to-end tests use).

    scripts/screenshot.py <tintora binary> [output, default docs/screenshot.png]
"""

import os
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree for the import below
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from tintora_e2e import CONVERT, Tintora, XServer, poll, run, show_result_window  # noqa: E402

MIX = (255, 140, 0)
BACKGROUND = "#d8dce0"


def settled_screen(server):
    """The screen once two screenshots in a row are the same (the window manager has drawn its frames)."""
    last = [None]

    def probe():
        shot = server.screenshot()
        same = last[0] is not None and shot.ppm == last[0].ppm
        last[0] = shot
        return same, "the screen still changes"

    poll("the screen settles", probe)
    path = os.path.join(server.workdir, "screen.png")
    last[0].save_png(path)
    return path


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs", "screenshot.png")
    output = os.path.abspath(sys.argv[2] if len(sys.argv) == 3 else default)
    with tempfile.TemporaryDirectory(prefix="tintora-screenshot-") as workdir:
        server = XServer(workdir)
        app = None
        try:
            server.start()
            app = Tintora(server, binary, workdir)
            # The red slider has the keyboard focus; the tab key leads on to green and blue.
            app.keys("End", *["Left"] * (255 - MIX[0]), "Tab", *["Right"] * MIX[1], "Tab", *["Right"] * MIX[2])
            app.expect_mix(MIX)
            result, _ = show_result_window(app, server, MIX)
            # Where the result window stands is the user's choice: here clear of the main window.
            server.xdotool("windowmove", result, 24, 24)
            app.sync()
            screen = settled_screen(server)
            frames = []
            for name, window in (("main", app.main), ("result", result)):
                frames.append(os.path.join(workdir, name + ".png"))
                x, y, w, h = server.frame_rect(window)
                run([CONVERT, screen, "-crop", f"{w}x{h}+{x}+{y}", "+repage", frames[-1]], timeout=20)
        finally:
            if app is not None:
                app.stop()
            server.stop()
        gap = ["(", "-size", "24x1", "xc:" + BACKGROUND, ")"]
        run([CONVERT, frames[0], *gap, frames[1], "-background", BACKGROUND, "-gravity", "center", "+append",
             "-bordercolor", BACKGROUND, "-border", "16", "-define", "png:exclude-chunks=date,time", output],
            timeout=20)
    print(output)


if __name__ == "__main__":
    main()
