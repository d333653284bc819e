#!/usr/bin/env python3
"""The paint manager under real X input: drives manager_input_probe.exe with xdotool on the
private display of `scripts/wine-run.sh --with-env` (DISPLAY, WINEPREFIX and WINE_BIN set)
and checks the events, notifications and tooltips the probe logs.

The probe's window has its client area at (100, 100), 400x200, with the controls "left"
(0,0 to 150,150; tooltip, shortcut L) and "right" (200,0 to 350,150; shortcut R, menu); both
take Tab. Clicks are spaced by more than 600 ms so they never pair into double clicks.

usage: manager_input_e2e.py PROBE.exe WORK_FOLDER
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from probe_driver import SPACING, Probe, check, field, focus_window, run_scenarios, xdo  # noqa: E402

ORIGIN = (100, 100)
LEFT = (75, 75)
RIGHT = (275, 75)
EMPTY = (175, 75)  # the root, between the two controls


def move(point):
    xdo("mousemove", ORIGIN[0] + point[0], ORIGIN[1] + point[1])
    time.sleep(0.25)


def move_off_window():
    xdo("mousemove", 900, 700)
    time.sleep(0.25)


def events(lines, *kinds):
    """'name Kind' of the event lines, only the given kinds (all when none)."""
    out = []
    for line in lines:
        parts = line.split()
        if parts[0] == "event" and (not kinds or parts[2] in kinds):
            out.append(f"{parts[1]} {parts[2]}")
    return out


def event_line(lines, name, kind):
    found = [l for l in lines if l.startswith(f"event {name} {kind} ")]
    check(found, f"no {kind} for {name} in {lines}")
    return found[0]


def enter_move_leave(probe):
    move(LEFT)
    move((LEFT[0] + 5, LEFT[1]))
    move(RIGHT)
    move(EMPTY)
    move_off_window()
    seen = events(probe.step(), "MouseEnter", "MouseLeave", "MouseMove")
    # Repeated moves collapse: the order of enter, move and leave is what counts.
    order = [e for i, e in enumerate(seen) if i == 0 or e != seen[i - 1]]
    check(order == ["left MouseEnter", "left MouseMove", "left MouseLeave", "right MouseEnter",
                    "right MouseMove", "right MouseLeave"],
          f"enter/move/leave order: {order}")


def press_inside_release_outside(probe):
    move(LEFT)
    probe.step()
    xdo("mousedown", 1)
    time.sleep(0.2)
    move_off_window()
    xdo("mouseup", 1)
    lines = probe.step()
    seen = events(lines, "ButtonDown", "ButtonUp", "MouseMove")
    check(seen and seen[0] == "left ButtonDown", f"press: {seen}")
    check("left ButtonUp" in seen, f"release outside goes to the pushed control: {seen}")
    check(not any(e.startswith("right") for e in seen), f"nothing for right: {seen}")
    up = event_line(lines, "left", "ButtonUp")
    x, y = map(int, field(up, "at").split(","))
    check(x < 0 or y < 0 or x >= 400 or y >= 200, f"released outside the window: {up}")
    time.sleep(SPACING)


def double_click(probe):
    move(RIGHT)
    probe.step()
    xdo("click", "--repeat", 2, "--delay", 120, 1)
    seen = events(probe.step(), "ButtonDown", "ButtonUp", "DoubleClick")
    check(seen == ["right ButtonDown", "right ButtonUp", "right DoubleClick", "right ButtonUp"],
          f"double click: {seen}")
    time.sleep(SPACING)


def right_click_and_context_menu(probe):
    move(RIGHT)
    probe.step()
    xdo("click", 3)
    lines = probe.step()
    seen = events(lines, "RightButtonDown", "ContextMenu")
    check(seen == ["right RightButtonDown", "right ContextMenu"], f"right click: {seen}")
    check("notify menu right" in lines, f"a control with menu asks for it: {lines}")
    time.sleep(SPACING)


def wheel(probe):
    move(LEFT)
    probe.step()
    xdo("click", 4)  # away from the user
    time.sleep(0.3)
    xdo("click", 5)  # towards the user
    lines = probe.step()
    codes = [field(l, "w") for l in lines if l.startswith("event left ScrollWheel")]
    check(codes == ["0", "1"], f"wheel codes away, towards: {codes} in {lines}")


def shift_click(probe):
    move(LEFT)
    probe.step()
    xdo("keydown", "shift")
    xdo("mousedown", 1)
    time.sleep(0.1)
    xdo("mouseup", 1)
    xdo("keyup", "shift")
    lines = probe.step()
    down = event_line(lines, "left", "ButtonDown")
    keys = int(field(down, "keys"))
    check(keys & 0x04, f"Shift in the key state: {down}")
    check(keys & 0x01, f"left button in the key state: {down}")
    check(not keys & 0x08, f"no Ctrl: {down}")
    time.sleep(SPACING)


def tooltip(probe):
    move(EMPTY)
    move(LEFT)
    start = time.time()
    probe.wait_for(lambda line: line.startswith("tooltip"), 5)
    elapsed = time.time() - start
    lines = probe.step(0.1)
    check(any(l.startswith("event left MouseHover") for l in lines), f"hover event: {lines}")
    tip = [l for l in lines if l.startswith("tooltip")][0]
    check(tip == "tooltip visible=1 text=first|second", f"tooltip with a line break: {tip}")
    check(0.2 <= elapsed <= 2.0, f"hover after the tooltip delay, took {elapsed:.2f} s")


def keys(probe):
    move_off_window()
    focus_window("manager test")
    probe.step()
    xdo("key", "Tab")
    lines = probe.step()
    check("notify setfocus right" in lines, f"Tab from left: {lines}")
    order = []
    for key in ["Tab", "Tab", "shift+Tab", "shift+Tab"]:
        xdo("key", key)
        focus = [l.split()[2] for l in probe.step() if l.startswith("notify setfocus")]
        order.append(focus[-1] if focus else "-")
    check(order == ["left", "right", "left", "right"], f"Tab wraps, Shift+Tab back: {order}")
    xdo("key", "alt+l")
    lines = probe.step()
    check("notify setfocus left" in lines and "activate left" in lines,
          f"Alt+L focuses and activates left: {lines}")
    kill = [l for l in lines if l.startswith("event right KillFocus")]
    check(kill and lines.index(kill[0]) < lines.index("notify killfocus right") <
          lines.index("notify setfocus left"), f"kill-focus event, killfocus, setfocus: {lines}")
    xdo("key", "q")
    probe.wait_for(lambda line: line == "quit 0", 10)


def main():
    program, work = sys.argv[1], sys.argv[2]
    return run_scenarios(Probe(program, work, "manager_input.log"),
                         (enter_move_leave, tooltip, press_inside_release_outside, tooltip,
                          double_click, right_click_and_context_menu, wheel, shift_click,
                          tooltip, keys))


if __name__ == "__main__":
    sys.exit(main())
