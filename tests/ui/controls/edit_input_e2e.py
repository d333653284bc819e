#!/usr/bin/env python3
"""The edit control under real X input: drives edit_input_probe.exe with xdotool on the
private display of `scripts/wine-run.sh --with-env` (DISPLAY, WINEPREFIX and WINE_BIN set)
and checks what the probe logs: where the box opens and where its caret lands, the
notifications of typing and Enter, the text kept when the box closes, "maxchar" on an open
box, "numberonly" and the password characters drawn.

The probe's client area is at (100, 100), 500x260. "name" (text "abcdefghijkl", item
(10, 20)-(320, 70)) lies in a container from x = 40, which clips its box on the left;
"limited" (20, 100)-(220, 140) gets "maxchar" 3 once open; "digits" (260, 100)-(460, 140) is
"numberonly"; "secret" (20, 160)-(220, 200) is "password"; "other" (300, 160)-(480, 240) is a
plain control. Clicks are spaced by more than 600 ms so they never pair into double clicks.

usage: edit_input_e2e.py PROBE.exe WORK_FOLDER
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from probe_driver import SPACING, Failure, Probe, check, field, focus_window, xdo  # noqa: E402

ORIGIN = (100, 100)
NAME_TEXT = "abcdefghijkl"


def click(point):
    xdo("mousemove", ORIGIN[0] + point[0], ORIGIN[1] + point[1])
    time.sleep(0.2)
    xdo("click", 1)


class EditProbe(Probe):
    """The probe, with the font height its "ready" line gives."""

    def __init__(self, program, work):
        super().__init__(program, work, "edit_input.log")
        self.font = int(self.ready.split()[4])


def numbers(line, name):
    value = field(line, name)
    return [int(v) for v in value.split(",")] if value else []


def texts_of(lines, kind, name):
    return [field(l, "text") or "" for l in lines if l.startswith(f"notify {kind} {name} ")]


def open_box(probe, name, point):
    probe.step()
    click(point)
    line = probe.wait_for(lambda l: l.startswith(f"box {name} "))
    check("none" not in line, f"a box opened for {name}: {line}")
    check(field(line, "focused") == "1", f"the box has the focus: {line}")
    return line


def close_box(probe, name):
    """Clicks the plain control; the box closes and the probe says what is left."""
    time.sleep(SPACING)
    probe.step()
    click((390, 200))
    line = probe.wait_for(lambda l: l.startswith(f"closed {name} "))
    check(field(line, "box") == "0", f"the box of {name} closed: {line}")
    time.sleep(SPACING)
    return line


def click_places_box_and_caret(probe):
    # Inside the box, about three characters from its left edge (the box starts at x = 40,
    # the edit's text rectangle at x = 14).
    point = (62, 45)
    line = open_box(probe, "name", point)
    left, top, right, bottom = numbers(line, "rect")
    # Text rectangle (14, 23)-(316, 67): one line of the font, centred, clipped at x = 40.
    expected_top = 23 + (44 - probe.font) // 2
    check((left, right) == (ORIGIN[0] + 40, ORIGIN[0] + 316), f"box clipped on the left: {line}")
    check((top, bottom) == (ORIGIN[1] + expected_top, ORIGIN[1] + expected_top + probe.font),
          f"box one font line high, centred (font {probe.font}): {line}")
    lefts = numbers(line, "lefts")
    x = ORIGIN[0] + point[0]
    nearest = min(range(len(lefts)), key=lambda i: abs(lefts[i] - x))
    caret = int(field(line, "caret"))
    check(abs(caret - nearest) <= 1 and 0 < caret < len(NAME_TEXT),
          f"caret at the click: {caret}, the character edge nearest x={x} is {nearest}: {line}")
    return caret


def typing_and_return(probe, caret):
    probe.step()
    xdo("type", "--delay", 120, "abc")
    lines = probe.step(0.6)
    texts = texts_of(lines, "textchanged", "name")
    expected = [NAME_TEXT[:caret] + "abc"[:n] + NAME_TEXT[caret:] for n in (1, 2, 3)]
    check(texts == expected, f"three textchanged, typed at the caret {expected}: {lines}")
    typed = expected[-1]
    xdo("key", "Return")
    lines = probe.step()
    check(any(l.startswith("notify return name") for l in lines), f"Enter sends return: {lines}")
    check(not texts_of(lines, "textchanged", "name"), f"Enter is not text: {lines}")
    line = close_box(probe, "name")
    check(field(line, "text") == typed, f"the text is kept when the box closes: {line}")


def maxchar_on_open_box(probe):
    line = open_box(probe, "limited", (120, 120))
    probe.step()
    xdo("type", "--delay", 120, "abcdef")
    lines = probe.step(0.6)
    texts = texts_of(lines, "textchanged", "limited")
    check(texts == ["a", "ab", "abc"], f"maxchar 3 set on the open box: {lines}")
    close_box(probe, "limited")


def numberonly_refuses_letters(probe):
    open_box(probe, "digits", (360, 120))
    probe.step()
    xdo("type", "--delay", 120, "a1b2")
    lines = probe.step(0.6)
    check(texts_of(lines, "textchanged", "digits") == ["1", "12"], f"digits only: {lines}")
    close_box(probe, "digits")


def password_is_masked(probe):
    line = open_box(probe, "secret", (120, 180))
    check(field(line, "password") == str(ord("*")), f"the box masks with '*': {line}")
    probe.step()
    xdo("type", "--delay", 120, "xy")
    probe.step(0.6)
    line = close_box(probe, "secret")
    check(field(line, "text") == "xy", f"the typed text: {line}")
    check(field(line, "drawn") == "masked", f"the window draws '**', not the text: {line}")


def main():
    program, work = sys.argv[1], sys.argv[2]
    probe = EditProbe(program, work)
    try:
        focus_window("edit input test")
        caret = click_places_box_and_caret(probe)
        print("ok click_places_box_and_caret")
        typing_and_return(probe, caret)
        print("ok typing_and_return")
        for scenario in (maxchar_on_open_box, numberonly_refuses_letters, password_is_masked):
            scenario(probe)
            print(f"ok {scenario.__name__}")
        xdo("key", "q")
        probe.wait_for(lambda line: line == "quit 0", 10)
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    finally:
        probe.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
