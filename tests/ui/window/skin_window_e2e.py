#!/usr/bin/env python3
"""A skinned window under real X input: drives skin_window_probe.exe with xdotool on the
private display of `scripts/wine-run.sh --with-env` (DISPLAY, WINEPREFIX and WINE_BIN set).

The probe's frameless window is 400x300, centred on the work area, with a 40-pixel caption
band holding the button "probeButton" at (300,10)-(340,30), size box borders of 6 and a
minimum size of 200x150. It logs "rect L T R B" after every move or size, "click NAME" and
"close w=N". Checked: centring; a drag in the caption band moves the window, a press on the
button in the band does not and its click arrives; dragging the bottom-right corner resizes
and the minimum clamps; Escape closes with 1. With "broken" the skin does not load: the
"SkinUI" message box appears and the program ends with exit code 1 once it is answered.

usage: skin_window_e2e.py PROBE.exe WORK_FOLDER
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from probe_driver import (SPACING, Failure, Probe, check, focus_window,  # noqa: E402
                          run_scenarios, xdo)

LOG = "skin_window.log"


def screen_size():
    width, height = xdo("getdisplaygeometry").split()
    return int(width), int(height)


def rect(probe):
    """The window rectangle the probe logged last."""
    rects = [line for line in probe.lines() if line.startswith("rect ")]
    check(rects, f"no rectangle logged: {probe.lines()}")
    return tuple(int(v) for v in rects[-1].split()[1:])


def drag(start, delta):
    xdo("mousemove", *start)
    time.sleep(0.3)
    xdo("mousedown", 1)
    time.sleep(0.3)
    for step in range(1, 6):
        xdo("mousemove", start[0] + delta[0] * step // 5, start[1] + delta[1] * step // 5)
        time.sleep(0.1)
    time.sleep(0.2)
    xdo("mouseup", 1)
    time.sleep(SPACING)


def centred(probe):
    width, height = screen_size()
    left, top, right, bottom = rect(probe)
    check((right - left, bottom - top) == (400, 300), f"skin size: {rect(probe)}")
    check((left, top) == ((width - 400) // 2, (height - 300) // 2),
          f"centred on {width}x{height}: {rect(probe)}")


def caption_drag(probe):
    left, top, _, _ = rect(probe)
    drag((left + 100, top + 20), (80, 60))
    moved = rect(probe)
    check(moved[:2] == (left + 80, top + 60), f"the caption band drags: {(left, top)} -> {moved}")


def button_in_caption(probe):
    left, top, _, _ = rect(probe)
    drag((left + 320, top + 20), (60, 40))
    check(rect(probe)[:2] == (left, top), f"a press on the button moves nothing: {rect(probe)}")
    xdo("mousemove", left + 320, top + 20)
    time.sleep(0.3)
    xdo("click", 1)
    probe.wait_for(lambda line: line == "click probeButton")
    time.sleep(SPACING)


def corner_resize(probe):
    left, top, right, bottom = rect(probe)
    drag((right - 3, bottom - 3), (50, 40))
    grown = rect(probe)
    check(grown == (left, top, right + 50, bottom + 40), f"the corner resizes: {grown}")
    drag((grown[2] - 3, grown[3] - 3), (-400, -300))
    clamped = rect(probe)
    check(clamped == (left, top, left + 200, top + 150), f"the minimum clamps: {clamped}")


def escape_closes(probe):
    focus_window("skin window probe")
    xdo("key", "Escape")
    probe.wait_for(lambda line: line == "close w=1", 10)
    check(probe.process.wait(timeout=10) == 0, "the probe ends after its close")


def broken_skin(program, work):
    """No "ready": the box comes before any window, so the probe is started bare."""
    process = subprocess.Popen([os.environ["WINE_BIN"], program, os.path.join(work, LOG), "broken"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        end = time.time() + 30
        box = []
        while not box and time.time() < end:
            box = subprocess.run(["xdotool", "search", "--name", "^SkinUI$"], capture_output=True,
                                 text=True, timeout=10).stdout.split()
            time.sleep(0.2)
        check(box, "the SkinUI message box")
        check(process.poll() is None, "the program waits for the box")
        time.sleep(0.5)
        xdo("key", "--window", box[0], "Return")
        code = process.wait(timeout=15)
        check(code == 1, f"exit code after the box: {code}")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    program, work = sys.argv[1], sys.argv[2]
    code = run_scenarios(Probe(program, work, LOG),
                         (centred, caption_drag, button_in_caption, corner_resize, escape_closes))
    if code != 0:
        return code
    try:
        broken_skin(program, work)
        print("ok broken_skin")
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
