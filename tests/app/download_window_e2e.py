#!/usr/bin/env python3
"""The download window in the real installer, under real X input on the private display of
`scripts/wine-run.sh --with-env`: Install clicked in the options window with a folder of the
prefix, the development service serving the fake package (see worker_e2e.py).

  download_window_e2e.py SCENARIO --installer EXE --service BIN --url URL --probes DIR
                         --package EXE --work DIR

The service's first answer stalls half-way through its body, so the download window stays
up for the read time-out and the pause after it (about 8 s) before the download completes.
"""
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "ui"))
sys.path.insert(0, HERE)
import probe_driver  # noqa: E402
import service_e2e  # noqa: E402
from options_window_e2e import INSTALL, Installer, pixel, window_origin  # noqa: E402
from service_e2e import check, dialogs, driver_main, exit_code, press, wait_for, x_window  # noqa: E402
from worker_e2e import Run, check_installed, gets  # noqa: E402

DOWNLOAD_TITLE = "云帆安装"
SPLASH_TITLE = "云帆启动"
OPTIONS_TITLE = "云帆更新"
# A point on the progress bar ("downloadpro", 0,135 to 1217,174) a little left of its middle:
# filled once half the package has arrived, empty at the skin's 35 % and at 0 %.
BAR_HALF_FILLED = (560, 155)
BAR_EMPTY = (1150, 155)
BAR_TENTH = (120, 155)
# Above the "video" picture at rest (its top is 98); at 50 % the picture has risen to 48.
VIDEO_RISEN = (498, 60)
BACKGROUND = (600, 60)
# Near the bottom of the "video" and "screen" pictures at rest (450,98 to 546,194 and 645,98 to
# 765,194), and inside the place the skin gives "screen" (430,30 to 530,100).
VIDEO_AT_REST = (498, 185)
SCREEN_AT_REST = (705, 185)
SCREEN_IN_SKIN = (480, 50)


def green(colour):
    """The filled part of the bar is green; its empty part is grey."""
    red, green_part, blue = (int(colour[i:i + 2], 16) for i in (0, 2, 4))
    return green_part > max(red, blue) + 0x40


def start_install(args, run):
    """The options window, the run's folder typed in, Install clicked; the download window's
    X window once it shows."""
    installer = Installer(args)
    installer.set_folder(run.windows_dir)
    installer.click(INSTALL)
    window = wait_for(lambda: x_window(DOWNLOAD_TITLE), 20, step=0.2)
    check(window, "the download window did not show")
    check(not x_window(OPTIONS_TITLE), "the options window is still shown")
    return installer, window


def stalled_service(run, count):
    return run.service("--fault-path", "/package.exe", "--fault", "stall", "--fault-count",
                       str(count))


def whole_install(args):
    """Install → the download window with progress (the splash hidden) → the splash alone →
    the fake package's exact command line and the finishing steps → exit 0."""
    run = Run(args)
    run.behave(delay_ms=3000)
    service = stalled_service(run, 1)
    try:
        installer, window = start_install(args, run)
        # Half the package arrived before the stall: the bar is filled past the middle and the
        # video picture has risen above its rest position.
        time.sleep(2)
        left, top = window_origin(window)
        half, empty = pixel(left + BAR_HALF_FILLED[0], top + BAR_HALF_FILLED[1]), \
            pixel(left + BAR_EMPTY[0], top + BAR_EMPTY[1])
        check(half != empty, f"the bar shows no progress: {half} at half, {empty} at the end")
        risen, background = pixel(left + VIDEO_RISEN[0], top + VIDEO_RISEN[1]), \
            pixel(left + BACKGROUND[0], top + BACKGROUND[1])
        check(risen != background, f"the video picture has not risen: {risen} over {background}")
        subprocess.run(["import", "-window", "root", "-crop", f"1217x300+{left}+{top}", "+repage",
                        os.path.join(args.work, "download-window.png")], check=True, timeout=30)
        check(not x_window(SPLASH_TITLE), "the splash shows during the download")
        events = []
        if wait_for(lambda: x_window(SPLASH_TITLE), 30, step=0.2):
            events.append("splash")
        check(events, "the splash did not show")
        check(not x_window(DOWNLOAD_TITLE), "the download window did not hide")
        check(exit_code(installer.process, 60) == 0, "the installer did not exit with code 0")
        telemetry = service.telemetry()
        names = [re.search(r'"operateName":"(\w+)"', record)[1] for record in telemetry]
        check(sorted(names) == ["installEnd", "installStart"], f"telemetry {telemetry}")
        if "installEnd" in names:
            events.append("finish")
        check(len(gets(service)) == 2, f"GETs: {gets(service)}")
        check_installed(run, {"events": events, "failure": ""})
    finally:
        service.close()


def at_rest(args):
    """Right after Install, before any byte has arrived (every answer a 404): the bar is
    empty, not at the skin's 35 %, and the pictures are at their rest positions, not where the
    skin puts them."""
    run = Run(args)
    service = run.service("--fault-path", "/package.exe", "--fault", "404", "--fault-count",
                          "100")
    try:
        installer, window = start_install(args, run)
        time.sleep(1.5)
        left, top = window_origin(window)

        def at(point):
            return pixel(left + point[0], top + point[1])

        for point in (BAR_TENTH, BAR_EMPTY):
            check(not green(at(point)), f"the bar is filled at {point}: {at(point)}")
        background = at(BACKGROUND)
        for point in (VIDEO_AT_REST, SCREEN_AT_REST):
            check(at(point) != background, f"no picture at its rest position {point}")
        for point in (VIDEO_RISEN, SCREEN_IN_SKIN):
            check(at(point) == background, f"a picture above its rest position at {point}")
        press(window, "Escape")
        check(exit_code(installer.process, 20) == 0, "Escape did not end the installer with 0")
    finally:
        service.close()


def close_while_stalled(args):
    """Escape, then Alt+F4, on the download window during a stalled download: each ends the
    installer with 0, no box, nothing installed."""
    for keys in ("Escape", "alt+F4"):
        run = Run(args)
        service = stalled_service(run, 100)
        try:
            installer, window = start_install(args, run)
            time.sleep(2)
            press(window, keys)
            check(exit_code(installer.process, 20) == 0, f"{keys}: the exit code is not 0")
            check(dialogs(args.probes) == [], f"{keys}: boxes shown: {dialogs(args.probes)}")
            check(not run.runs(), f"{keys}: something ran")
        finally:
            service.close()


SCENARIOS = {
    "whole_install": whole_install,
    "close_while_stalled": close_while_stalled,
    "at_rest": at_rest,
}


if __name__ == "__main__":
    sys.exit(driver_main(SCENARIOS, ("installer", "service", "url", "probes", "package", "work"),
                         failures=(service_e2e.Failure, probe_driver.Failure)))
