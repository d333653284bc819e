#!/usr/bin/env python3
"""One whole installation by the real installer, shown and checked: the driver of
scripts/demo.sh. Runs inside `scripts/wine-run.sh --with-env` (DISPLAY, WINEPREFIX, WINE_BIN).

  demo_install.py --installer EXE --service BIN --url URL --probes DIR --package EXE --work DIR

The development service (on the port of URL) serves the fake package of the end-to-end tests,
padded to 12 MiB, at 3 MiB/s (on loopback a whole download at full speed is over before it can
be seen), so the download window's bar and pictures move for about four seconds. The folder "C:\\VQUpdate Demo" of the prefix is
typed into the options window and Install is clicked with real X input. The package "installs"
for four seconds behind the splash. Every step is checked as the end-to-end tests check it;
the service's requests and telemetry records and the installed files are printed, and one
screenshot of each window is saved into WORK/shots. Exit code 0 when the installation is whole.
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "ui"))
sys.path.insert(0, os.path.join(REPO, "tests", "app"))
import probe_driver  # noqa: E402
import service_e2e  # noqa: E402
from download_window_e2e import DOWNLOAD_TITLE, OPTIONS_TITLE, SPLASH_TITLE  # noqa: E402
from options_window_e2e import INSTALL, Installer  # noqa: E402
from probe_driver import xdo  # noqa: E402
from service_e2e import check, dialogs, exit_code, run_scenario, wait_for, x_window  # noqa: E402
from worker_e2e import CHUNK, Run, check_installed, gets  # noqa: E402

FOLDER_NAME = "VQUpdate Demo"
# How long the fake package runs behind the splash: long enough for the splash to be seen even
# when the last download frame's screen capture is slow, as on the first run after a start.
INSTALL_DELAY_MS = 4000
PADDING = 12 * CHUNK  # the package's size, nearly
RATE_KIB = 3 * 1024  # the service's pace: about four seconds for the package
# A row through the download window's progress bar (0,135 to 1217,174) below the rows that the
# green dot of the "game" picture crosses as the picture moves.
BAR_ROW = 165


def geometry(window):
    """(left, top, width, height) of an X window on the screen."""
    out = xdo("getwindowgeometry", window)
    left, top = re.search(r"Position: (-?\d+),(-?\d+)", out).groups()
    width, height = re.search(r"Geometry: (\d+)x(\d+)", out).groups()
    return int(left), int(top), int(width), int(height)


def shoot(area, path):
    """Saves the screen area (left, top, width, height) of a window (Xvfb does not composite:
    a layered window's transparent pixels come out black)."""
    left, top, width, height = area
    subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}",
                    "+repage", path], check=True, timeout=30)


def visible(window):
    return window in xdo("search", "--onlyvisible", "--name", "").split()


def bar_filled(path):
    """How far the progress bar's green fill reaches along its row, 0 to 1 (a short reading
    while a picture above the bar hides the fill's end)."""
    out = subprocess.run(["convert", path, "-crop", f"x1+0+{BAR_ROW}", "+repage", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, timeout=20, check=True).stdout
    pixels = re.findall(r"^(\d+),0: \(\s*(\d+),\s*(\d+),", out, re.MULTILINE)
    green = [int(x) + 1 for x, r, g in pixels if int(g) > 150 and int(g) > int(r) + 80]
    return max(green, default=0) / max(len(pixels), 1)


def options_window(args, run, shots):
    """The options window with the demo's folder typed in, shot, then Install clicked."""
    installer = Installer(args)
    installer.set_folder(run.windows_dir)
    shoot(geometry(installer.window), os.path.join(shots, "1-options-window.png"))
    print(f"== options window shown; folder {run.windows_dir} typed in, Install clicked")
    installer.click(INSTALL)
    return installer


def download_frames(window, folder):
    """Shoots the window as often as the screen can be read until it hides; returns the
    frames as (seconds since the first, path)."""
    area, frames, first = geometry(window), [], time.monotonic()
    while visible(window):
        path = os.path.join(folder, f"frame-{len(frames):03}.png")
        shoot(area, path)
        frames.append((time.monotonic() - first, path))
    return frames


def download_window(shots):
    """The download window's frames until it hides (see keep_moving_frame)."""
    window = wait_for(lambda: x_window(DOWNLOAD_TITLE), 20, step=0.1)
    check(window, "the download window did not show after Install")
    frames = download_frames(window, shots)
    check(not x_window(OPTIONS_TITLE), "the options window showed again")
    return frames


def keep_moving_frame(frames, shots):
    """Keeps the frame whose bar is nearest half full; removes the others."""
    fills = [bar_filled(path) for _, path in frames]
    changes = [(fill, when) for i, (fill, (when, _)) in enumerate(zip(fills, frames))
               if i == 0 or round(fill, 2) != round(fills[i - 1], 2)]
    print(f"== download window, {len(frames)} frames; the bar's fill from the second it reads so, "
          "in seconds since the window showed: " +
          ", ".join(f"{fill:.0%} at {when:.1f}" for fill, when in changes))
    moving = [(abs(fill - 0.5), path) for fill, (_, path) in zip(fills, frames)
              if 0.05 < fill < 0.95]
    check(moving, "no frame shows the bar part-filled")
    os.replace(min(moving)[1], os.path.join(shots, "2-download-window.png"))
    for _, path in frames:
        if os.path.exists(path):
            os.remove(path)


def splash_window(shots):
    window = wait_for(lambda: x_window(SPLASH_TITLE), 30, step=0.2)
    check(window, "the splash did not show after the download")
    shoot(geometry(window), os.path.join(shots, "3-splash-window.png"))
    check(not x_window(DOWNLOAD_TITLE), "the download window did not hide behind the splash")


def report(run, service):
    """What the service received and what was installed (as far as the run got)."""
    print("== requests the service received (seconds since the first):")
    requests = service.requests()
    for request in requests:
        print(f"   {request['time'] - requests[0]['time']:5.1f}  {request['method']} "
              f"{request['path']}  User-Agent: {request['userAgent']}")
    print("== telemetry records (decrypted by the service):")
    for record in service.telemetry():
        print("   " + record)
    print(f"== installed into {run.windows_dir} ({run.install_dir}):")
    for name in sorted(os.listdir(run.install_dir)):
        print(f"   {name:24} {os.path.getsize(run.path(name)):>9} bytes")
    if os.path.exists(run.path("channel.txt")):
        with open(run.path("channel.txt"), "rb") as channel:
            print(f"== channel.txt: {channel.read()!r}")
    print("== programs started (the stand-in package's run log):")
    for entry in run.runs():
        print(f"   {entry['cmdline']}")


def install(args):
    shots = os.path.join(args.work, "shots")
    os.makedirs(shots, exist_ok=True)
    run = Run(args, folder_name=FOLDER_NAME, padding=PADDING)
    run.behave(delay_ms=INSTALL_DELAY_MS)
    service = run.service("--rate", str(RATE_KIB))
    try:
        installer = options_window(args, run, shots)
        frames = download_window(shots)
        splash_window(shots)
        keep_moving_frame(frames, shots)
        print("== then the splash alone while the package installs")
        check(exit_code(installer.process, 60) == 0, "the installer did not exit with code 0")
        names = [re.search(r'"operateName":"(\w+)"', r)[1] for r in service.telemetry()]
        check(sorted(names) == ["installEnd", "installStart"], f"telemetry {names}")
        check(len(gets(service)) == 1, f"GETs of the package: {gets(service)}")
        check_installed(run, {"events": ["splash", "finish"], "failure": ""})
    except (service_e2e.Failure, probe_driver.Failure):
        print(f"== boxes showing: {dialogs(args.probes)}", file=sys.stderr)
        raise
    finally:
        report(run, service)
        service.close()
    print(f"== installer exit code 0; screenshots in {shots}")


def stop_on_signal(number, _frame):
    raise SystemExit(128 + number)  # runs the clean-ups of run_scenario and install


def main():
    parser = argparse.ArgumentParser()
    for name in ("installer", "service", "url", "probes", "package", "work"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    sys.stdout.reconfigure(line_buffering=True)  # in order with the failure on stderr
    for number in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, stop_on_signal)
    started = time.monotonic()
    code = run_scenario("demo", lambda _: install(args),
                        failures=(service_e2e.Failure, probe_driver.Failure,
                                  subprocess.SubprocessError, OSError))
    print(f"== the run took {time.monotonic() - started:.0f} s")
    return code


if __name__ == "__main__":
    sys.exit(main())
