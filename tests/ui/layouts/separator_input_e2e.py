#!/usr/bin/env python3
"""Layout separators under real X input: drives separator_input_probe.exe with xdotool on the
private display of `scripts/wine-run.sh --with-env` and checks the cursor and the widths the
probe logs.

The probe's client area is at (100, 100), 400x200: two rows 100 high, each with a panel 200
wide (between 120 and 260) whose separator strip is x 194..199, then a filler. The top panel
takes its new width when the button goes up, the bottom one ("sepimm") while it is dragged.

usage: separator_input_e2e.py PROBE.exe WORK_FOLDER
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from probe_driver import Probe, check, run_scenarios, xdo  # noqa: E402

ORIGIN = (100, 100)
TOP_STRIP = (197, 50)
BOTTOM_STRIP = (197, 150)


def move(point):
    xdo("mousemove", ORIGIN[0] + point[0], ORIGIN[1] + point[1])
    time.sleep(0.25)


def size_cursor_over_the_strip(probe):
    move((100, 50))
    probe.step()
    move(TOP_STRIP)
    lines = probe.step()
    check("cursor sizewe" in lines, f"the size cursor over the strip: {lines}")
    move((100, 50))
    lines = probe.step()
    check("cursor arrow" in lines, f"the arrow beside it: {lines}")


def drag(start, moves):
    move(start)
    xdo("mousedown", 1)
    time.sleep(0.2)
    for point in moves:
        move(point)


def drag_takes_effect_on_release(probe):
    probe.step()
    drag(TOP_STRIP, [(217, 50), (237, 50)])
    during = probe.step()
    check(not any(l.startswith("width panel") for l in during),
          f"the top panel keeps its width while dragged: {during}")
    xdo("mouseup", 1)
    after = probe.step()
    check("width panel 240" in after, f"40 more after the button-up: {after}")
    drag((237, 50), [(287, 50), (337, 50)])
    xdo("mouseup", 1)
    after = probe.step()
    check("width panel 260" in after, f"held at the max width 260: {after}")
    time.sleep(0.7)


def immediate_drag_follows_the_pointer(probe):
    probe.step()
    drag(BOTTOM_STRIP, [(212, 150), (227, 150)])
    during = probe.step()
    check("width live 230" in during, f"the bottom panel follows at once: {during}")
    drag_end = probe.step(0.1)
    xdo("mouseup", 1)
    after = probe.step()
    check(not any(l.startswith("width live") for l in drag_end + after),
          f"nothing more on release: {drag_end + after}")
    drag((227, 150), [(127, 150), (27, 150)])
    xdo("mouseup", 1)
    lines = probe.step()
    check(lines and [l for l in lines if l.startswith("width live")][-1] == "width live 120",
          f"held at the min width 120: {lines}")


def main():
    program, work = sys.argv[1], sys.argv[2]
    return run_scenarios(Probe(program, work, "separator_input.log"),
                         (size_cursor_over_the_strip, drag_takes_effect_on_release,
                          immediate_drag_follows_the_pointer))


if __name__ == "__main__":
    sys.exit(main())
