#!/usr/bin/env python3
"""The clickable leaf controls under real X input: drives button_input_probe.exe with xdotool
on the private display of `scripts/wine-run.sh --with-env` (DISPLAY and WINE_BIN set) and
checks the notifications, fade ticks and painted colours the probe logs.

The probe's window has its client area at (100, 100), 400x200: "btn" (10,10 to 110,60; red
normal, green hot, blue pushed images), "fade" (130,10 to 230,60; the same, fading by 100 per
tick), the check box "chk" (10,80 to 40,110), the options "opt1" and "opt2" of group "g"
(60,80 and 110,80, 30x30), the option "solo" without a group (160,80) and the text "txt" with
two links whose centres the probe logs. Ticked images are white, clear ones grey. Clicks are
spaced by more than 600 ms so they never pair into double clicks.

usage: button_input_e2e.py PROBE.exe WORK_FOLDER
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from probe_driver import SPACING, Probe, check, run_scenarios, xdo  # noqa: E402

ORIGIN = (100, 100)
BUTTON = (60, 35)
FADE = (180, 35)
CHECK = (25, 95)
OPT1 = (75, 95)
OPT2 = (125, 95)
SOLO = (175, 95)
EMPTY = (300, 180)  # the root, inside the window
RED, GREEN, BLUE, GREY, WHITE = "ff0000", "00ff00", "0000ff", "808080", "ffffff"


def move(point):
    xdo("mousemove", ORIGIN[0] + point[0], ORIGIN[1] + point[1])
    time.sleep(0.15)


def click(point):
    move(point)
    xdo("click", 1)
    time.sleep(SPACING)


class ButtonProbe(Probe):
    """The probe, with the centres of the text's links it logged at the start."""

    def __init__(self, program, work):
        super().__init__(program, work, "button_input.log")
        self.links = {}
        for line in self.lines():
            if line.startswith("link "):
                _, index, x, y = line.split()
                self.links[int(index)] = (int(x), int(y))

    def wait_pixel(self, name, colour):
        return self.wait_for(lambda line: line == f"pixel {name} {colour}")


def notes(lines):
    """The notifications, without the manager's focus changes."""
    return [line for line in lines if line.startswith("notify ") and
            line.split()[1] not in ("setfocus", "killfocus")]


def hover_shows_the_hot_image(probe):
    move(BUTTON)
    probe.wait_pixel("btn", GREEN)
    move(EMPTY)
    probe.wait_pixel("btn", RED)


def press_drag_out_release_gives_no_click(probe):
    move(BUTTON)
    probe.wait_pixel("btn", GREEN)
    probe.step()
    xdo("mousedown", 1)
    probe.wait_pixel("btn", BLUE)
    move(EMPTY)
    probe.wait_pixel("btn", GREEN)  # dragged out: no longer pushed, still hot while captured
    xdo("mouseup", 1)
    lines = probe.step(0.5)
    check(not notes(lines), f"no click after dragging out: {lines}")
    move((EMPTY[0] + 5, EMPTY[1]))
    probe.wait_pixel("btn", RED)
    time.sleep(SPACING)


def press_release_gives_click(probe):
    probe.step()
    click(BUTTON)
    lines = probe.step()
    check(notes(lines) == ["notify click btn w=0"], f"one click: {lines}")
    move(EMPTY)


def fade_steps_and_stops(probe):
    probe.step()
    move(FADE)
    probe.wait_for(lambda line: line.startswith("fade alpha=0 "), 3)
    lines = probe.step(0.5)  # a timer still alive would tick on
    ticks = [line.split() for line in lines if line.startswith("fade ")]
    alphas = [int(t[1].split("=")[1]) for t in ticks]
    check(alphas == [155, 55, 0], f"fade towards the hot image: {alphas}")
    took = int(ticks[-1][2][2:]) - int(ticks[0][2][2:])
    check(took >= 40, f"ticks about 30 ms apart, two intervals took {took} ms")
    move(EMPTY)
    probe.wait_for(lambda line: line.startswith("fade alpha=255 "), 3)
    alphas = [int(l.split()[1].split("=")[1]) for l in probe.step(0.5) if l.startswith("fade ")]
    check(alphas == [100, 200, 255], f"fade back: {alphas}")


def check_box_click_then_select_changed(probe):
    probe.step()
    click(CHECK)
    lines = probe.step()
    check(notes(lines) == ["notify click chk w=0", "notify selectchanged chk w=0"],
          f"click, then selectchanged: {lines}")
    check(f"pixel chk {WHITE}" in lines, f"ticked: {lines}")
    click(CHECK)
    lines = probe.step()
    check(f"pixel chk {GREY}" in lines, f"cleared again: {lines}")


def option_groups(probe):
    probe.step()
    click(OPT1)
    click(OPT2)
    lines = probe.step()
    check(notes(lines) == ["notify click opt1 w=0", "notify selectchanged opt1 w=0",
                           "notify click opt2 w=0", "notify selectchanged opt2 w=0"],
          f"opt1 deselected silently: {notes(lines)}")
    check(lines.index(f"pixel opt1 {GREY}") > lines.index(f"pixel opt1 {WHITE}"),
          f"opt1 ticked, then cleared: {lines}")
    click(OPT2)
    lines = probe.step()
    check(notes(lines) == ["notify click opt2 w=0"], f"clicked again, stays: {lines}")
    check(not any(l.startswith("pixel opt2") for l in lines), f"no change: {lines}")
    click(SOLO)
    click(SOLO)
    lines = probe.step()
    check(notes(lines).count("notify selectchanged solo w=0") == 2, f"toggles: {lines}")
    check(lines.index(f"pixel solo {GREY}") > lines.index(f"pixel solo {WHITE}"), f"{lines}")


def links(probe):
    probe.step()
    for index in (1, 0):
        click(probe.links[index])
    lines = probe.step()
    check(notes(lines) == ["notify link txt w=1", "notify link txt w=0"],
          f"link with its index: {lines}")


def main():
    program, work = sys.argv[1], sys.argv[2]
    probe = ButtonProbe(program, work)

    def links_drawn(probe):
        check(sorted(probe.links) == [0, 1], f"two links drawn: {probe.lines()}")

    return run_scenarios(probe, (hover_shows_the_hot_image, press_drag_out_release_gives_no_click,
                                 press_release_gives_click, fade_steps_and_stops,
                                 check_box_click_then_select_changed, option_groups, links),
                         before=links_drawn)


if __name__ == "__main__":
    sys.exit(main())
