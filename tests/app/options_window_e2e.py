#!/usr/bin/env python3
"""The install options window and the splash window under real X input, on the private display
of `scripts/wine-run.sh --with-env` (DISPLAY, WINEPREFIX and WINE_BIN set).

Scenarios on the real installer (against the development service on the port of --url):
closing by Escape, the close button and Alt+F4; the agreement box cleared; a folder on a
missing drive; a new folder three levels down with the client's processes ended; an existing
file as the folder; the two links with a recording browser registered in the prefix; the
screenshot. Scenarios on options_window_probe.exe (the same windows with a notification log):
the caption toggles, the folder browse dialog cancelled, the splash window.

  options_window_e2e.py SCENARIO --installer EXE --service BIN --url URL --probes DIR
                        --archive ZIP --work DIR

--probes is the folder of message_box_probe.exe, options_window_probe.exe, client_stand_in.exe
and url_recorder.exe.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "ui"))
sys.path.insert(0, HERE)
import probe_driver  # noqa: E402
import service_e2e  # noqa: E402
from probe_driver import SPACING, Probe, xdo  # noqa: E402
from service_e2e import (STARTED, DevService, check, dialogs, exit_code, run_scenario,  # noqa: E402
                         start_wine, wait_for, x_window)

TITLE = "云帆更新"
BROWSE_TITLE = "选择文件夹"
DEFAULT_FOLDER = r"C:\Program Files (x86)\ROVuruvodiv"
# Centres of the controls in the window (skin "options.xml").
CLOSE = (1074, 29)
EDIT = (742, 187)
BROWSE = (1001, 184)
DESKTOP_BOX = (535, 255)
DESKTOP_CAPTION = (600, 251)
AGREE_BOX = (530, 395)
USER_AGREE = (755, 395)
PRIV_AGREE = (895, 395)
INSTALL = (923, 468)
IDOK = 1
RECORDER_ADDRESS = "HTTPS://Example.com/agreement?lang=zh&v=1"


# --- The display ------------------------------------------------------------------------------

def window_origin(window):
    """The screen position of an X window's top-left corner."""
    out = xdo("getwindowgeometry", window)
    position = out.split("Position:")[1].split()[0]
    x, y = position.split(",")
    return int(x), int(y)


def click_at(origin, point):
    xdo("mousemove", origin[0] + point[0], origin[1] + point[1])
    time.sleep(0.2)
    xdo("click", 1)
    time.sleep(SPACING)


def pixel(x, y):
    """The screen pixel at (x, y) as "rrggbb"."""
    out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, timeout=20, check=True).stdout
    found = re.search(r"\)\s+#([0-9A-Fa-f]{6})", out)
    check(found, f"no pixel in {out!r}")
    return found[1].lower()


def screenshot(origin, path):
    subprocess.run(["import", "-window", "root", "-crop", f"1124x557+{origin[0]}+{origin[1]}",
                    "+repage", path], check=True, timeout=30)


# --- The real installer -----------------------------------------------------------------------

class Installer:
    """The installer started against the service, once its options window shows."""

    def __init__(self, args, env=None):
        self.args = args
        self.process = subprocess.Popen([os.environ["WINE_BIN"], args.installer], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        STARTED.append(self.process)
        self.window = wait_for(lambda: x_window(TITLE), 40, step=0.3)
        check(self.window, "the options window did not show")
        time.sleep(1.0)  # its first paint
        self.origin = window_origin(self.window)

    def click(self, point):
        click_at(self.origin, point)

    def key(self, keys):
        xdo("windowfocus", "--sync", self.window)
        xdo("key", "--delay", "80", *keys.split())

    def set_folder(self, folder):
        """Types the folder into the edit, replacing its text."""
        self.click(EDIT)
        self.key("End shift+Home BackSpace")
        xdo("type", "--delay", "60", folder)
        time.sleep(0.3)

    def visible(self):
        return x_window(TITLE) is not None

    def expect_box(self, title, text):
        """The one message box showing: checks it and answers it with Return."""
        boxes = wait_for(lambda: [d for d in dialogs(self.args.probes) if d["title"] == title], 20,
                         step=0.3)
        check(boxes, f"no message box titled {title} appeared")
        check(len(boxes) == 1, f"expected one message box, got {boxes}")
        box = boxes[0]
        check(box["text"] == text, f"message text is {box['text']!r}, expected {text!r}")
        check(not box["owned"] and box["buttons"] == [IDOK], f"not an unowned OK box: {box}")
        window = wait_for(lambda: x_window(title), 10)
        # A click on the box's text makes it the active window again (a click on the options
        # window meanwhile took the activation).
        left, top = window_origin(window)
        xdo("mousemove", left + 20, top + 20)
        xdo("click", 1)
        time.sleep(0.3)
        xdo("windowfocus", "--sync", window)
        xdo("key", "Return")
        check(wait_for(lambda: not x_window(title), 10),
              f"the message box did not close: {dialogs(self.args.probes)}")

    def expect_exit_zero(self, timeout=20):
        check(exit_code(self.process, timeout) == 0, "the installer did not exit with code 0")


def drive_c(*parts):
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *parts)


class StandIns:
    """Sleeping copies of the client stand-in under the given names, each in its own folder
    of the prefix's drive C (names differing in case only would be one file)."""

    def __init__(self, args, names):
        self.folder = tempfile.mkdtemp(prefix="vq_stand_ins_", dir=drive_c())
        self.processes = {}
        for index, name in enumerate(names):
            os.makedirs(os.path.join(self.folder, str(index)))
            path = os.path.join(self.folder, str(index), name)
            shutil.copy(os.path.join(args.probes, "client_stand_in.exe"), path)
            self.processes[name] = start_wine(path)
        time.sleep(1.5)
        for name, process in self.processes.items():
            check(process.poll() is None, f"the stand-in {name} did not start")

    def ended(self):
        """The names whose stand-in ended (within a few seconds for those that end)."""
        time.sleep(3)
        return sorted(name for name, process in self.processes.items() if process.poll() is not None)

    def close(self):
        for process in self.processes.values():
            if process.poll() is None:
                process.kill()
                process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def new_folder_name():
    return "vq_e2e_" + next(tempfile._get_candidate_names())


def close_routes(args, _service):
    """Escape, the close button and Alt+F4 each end the process with 0. The first run also
    takes the screenshots."""
    installer = Installer(args)
    os.makedirs(args.work, exist_ok=True)
    screenshot(installer.origin, os.path.join(args.work, "options-window.png"))
    installer.key("Escape")
    installer.expect_exit_zero()

    installer = Installer(args)
    installer.click(CLOSE)
    installer.expect_exit_zero()

    installer = Installer(args)
    installer.key("alt+F4")
    installer.expect_exit_zero()


def agreement_cleared(args, _service):
    """Install with the agreement box cleared: only the warning, nothing created or ended;
    a second click meanwhile adds no second warning."""
    stand_ins = StandIns(args, ["RADovaza_ZO.exe", "VOZezadev.exe"])
    try:
        installer = Installer(args)
        name = new_folder_name()
        installer.set_folder(f"C:\\{name}\\a\\b")
        installer.click(AGREE_BOX)
        installer.click(INSTALL)
        check(wait_for(lambda: x_window("警告"), 20, step=0.3), "no warning appeared")
        # The box has no owner, so the window still takes clicks: a second install click
        # while the first one's box is up must not start the sequence inside itself.
        installer.click(INSTALL)
        time.sleep(1.5)
        installer.expect_box("警告", "请阅读用户隐私协议并勾选")
        check(not os.path.exists(drive_c(name)), "a folder was created")
        check(stand_ins.ended() == [], "a process was ended")
        check(installer.visible(), "the options window went away")
        installer.key("Escape")
        installer.expect_exit_zero()
    finally:
        stand_ins.close()


def missing_drive(args, _service):
    installer = Installer(args)
    drive = next(d for d in "QRSTUVWXY" if not os.path.exists(
        os.path.join(os.environ["WINEPREFIX"], "dosdevices", d.lower() + ":")))
    installer.set_folder(f"{drive}:\\ROVuruvodiv")
    installer.click(INSTALL)
    installer.expect_box("错误", "当路径不存在，请重新设置")
    check(installer.visible(), "the options window went away")
    installer.key("Escape")
    installer.expect_exit_zero()


def three_levels(args, _service):
    """A folder three levels below C:\\ is created, the client and updater are ended (names
    containing theirs, in their letter case), and the window hides for the download."""
    names = ["RADovaza_ZO.exe", "xRADovaza_ZO.exe", "VOZezadev.exe", "radovaza_zo.exe",
             "other.exe"]
    stand_ins = StandIns(args, names)
    try:
        installer = Installer(args)
        name = new_folder_name()
        installer.set_folder(f"C:\\{name}\\a\\b\\c")
        installer.click(INSTALL)
        check(wait_for(lambda: not installer.visible(), 20), "the options window did not hide")
        check(os.path.isdir(drive_c(name, "a", "b", "c")), "the folder was not created")
        ended = stand_ins.ended()
        check(ended == sorted(["RADovaza_ZO.exe", "xRADovaza_ZO.exe", "VOZezadev.exe"]),
              f"ended: {ended}")
        # A second click on the hidden window is dropped (and there is nothing to see).
        check(installer.process.poll() is None, "the installer ended")
        shutil.rmtree(drive_c(name), ignore_errors=True)
    finally:
        stand_ins.close()


def existing_file(args, _service):
    """A file as the folder: the creation failure box; the window stays; the client's
    processes are ended already (the check comes after the termination)."""
    name = new_folder_name()
    with open(drive_c(name), "w") as file:
        file.write("keep")
    stand_ins = StandIns(args, ["RADovaza_ZO.exe"])
    try:
        installer = Installer(args)
        installer.set_folder(f"C:\\{name}")
        installer.click(INSTALL)
        installer.expect_box("错误", "安装目录不存在，创建失败")
        check(installer.visible(), "the options window went away")
        with open(drive_c(name)) as file:
            check(file.read() == "keep", "the file changed")
        check(stand_ins.ended() == ["RADovaza_ZO.exe"], "the client was not ended")
        installer.key("Escape")
        installer.expect_exit_zero()
    finally:
        stand_ins.close()
        os.remove(drive_c(name))


def wine_reg(*args):
    return subprocess.run([os.environ["WINE_BIN"], "reg", *args], capture_output=True,
                          timeout=60)


def handler(key):
    """The command registered under the key (its default value), or None."""
    out = wine_reg("query", key, "/ve").stdout.decode("utf-8", "replace")
    values = [line.split("REG_SZ", 1)[1].strip() for line in out.splitlines() if "REG_SZ" in line]
    return values[0] if values else None


def set_handler(key, command):
    check(wine_reg("add", key, "/ve", "/d", command, "/f").returncode == 0,
          f"cannot register a handler under {key}")


def links(args, _service):
    """The agreement link opens its address in the registered browser exactly; the privacy
    "address" names a program (the recorder itself), which must not be run."""
    record = os.path.join(args.work, "opened.txt")
    os.makedirs(args.work, exist_ok=True)
    if os.path.exists(record):
        os.remove(record)
    recorder = "Z:" + os.path.join(args.probes, "url_recorder.exe").replace("/", "\\")
    keys = [r"HKCR\http\shell\open\command", r"HKCR\https\shell\open\command"]
    previous = {key: handler(key) for key in keys}
    try:
        for key in keys:
            set_handler(key, f'"{recorder}" "%1"')
        env = dict(os.environ, VQ_URL_RECORD="Z:" + record.replace("/", "\\"))
        installer = Installer(args, env=env)
        installer.click(USER_AGREE)
        opened = wait_for(lambda: os.path.exists(record) and open(record).read(), 20)
        check(opened == RECORDER_ADDRESS + "\n", f"the browser got {opened!r}")
        installer.click(PRIV_AGREE)
        time.sleep(4)
        with open(record) as file:
            check(file.read() == opened, "the privacy text was opened")
        installer.key("Escape")
        installer.expect_exit_zero()
    finally:
        for key, command in previous.items():
            if command:
                set_handler(key, command)


# --- The probe --------------------------------------------------------------------------------

def start_probe(args, mode):
    probe = Probe(os.path.join(args.probes, "options_window_probe.exe"), args.work,
                  f"options_{mode}.log", args.archive, mode)
    return probe


def probe_origin(probe):
    line = next(line for line in probe.lines() if line.startswith("window "))
    return tuple(int(v) for v in line.split()[1:3])


def caption_toggles(args, _service):
    """Two clicks on the desktop box's caption: two "selectchanged", the box as it was, and
    its image changed on the screen in between."""
    probe = start_probe(args, "options")
    try:
        origin = probe_origin(probe)
        box = (origin[0] + DESKTOP_BOX[0], origin[1] + DESKTOP_BOX[1])
        ticked = pixel(*box)
        states = []
        for _ in range(2):
            probe.step()
            click_at(origin, DESKTOP_CAPTION)
            line = probe.wait_for(lambda line: line.startswith("notify selectchanged "))
            check(line.split()[2] == "chkDesktopOption", f"from another control: {line}")
            states.append(line.split()[3])
            time.sleep(0.5)
            if len(states) == 1:
                cleared = pixel(*box)
        check(states == ["desktop=0", "desktop=1"], f"box states after each click: {states}")
        check(cleared != ticked, f"the box looks the same cleared ({cleared}) and ticked")
        again = pixel(*box)
        check(again == ticked, f"the ticked box looks different after two clicks: {ticked} then "
              f"{cleared}, then {again}")
        selects = [line for line in probe.lines() if line.startswith("notify selectchanged")]
        check(len(selects) == 2, f"selectchanged sent {len(selects)} times: {selects}")
    finally:
        probe.close()


def folder_browse(args, _service):
    """The folder button opens the browse dialog; Escape leaves the folder as it was."""
    probe = start_probe(args, "options")
    try:
        origin = probe_origin(probe)
        xdo("mousemove", origin[0] + BROWSE[0], origin[1] + BROWSE[1])
        time.sleep(0.2)
        xdo("click", 1)
        dialog = wait_for(lambda: x_window(BROWSE_TITLE), 20, step=0.3)
        check(dialog, "the folder browse dialog did not open")
        time.sleep(0.5)
        xdo("windowfocus", "--sync", dialog)
        xdo("key", "Escape")
        line = probe.wait_for(lambda line: line.startswith("notify click installpathEdit"), 20)
        check(line.endswith("path=" + DEFAULT_FOLDER), f"the folder changed: {line}")
    finally:
        probe.close()


def splash(args, _service):
    """Created hidden; shown later; Escape closes it alone; the program goes on."""
    probe = start_probe(args, "splash")
    try:
        check("splash visible=0" in probe.lines(), f"created visible: {probe.lines()}")
        probe.wait_for(lambda line: line == "shown")
        check(probe.lines()[-2] == "splash visible=1", f"not shown: {probe.lines()}")
        window = wait_for(lambda: x_window("云帆启动"), 10)
        check(window, "the splash window has no X window")
        time.sleep(0.5)
        xdo("windowfocus", "--sync", window)
        xdo("key", "Escape")
        probe.wait_for(lambda line: line == "splash gone")
        probe.wait_for(lambda line: line == "options alive")
        check(exit_code(probe.process, 20) == 5, "the probe did not go on after the splash")
    finally:
        probe.close()


def download_window_refused(args, _service):
    """The system refuses the download window: the options window comes back and Install
    may be tried again; nothing has started, and Escape still ends the program with 0."""
    probe = start_probe(args, "refused")
    try:
        origin = probe_origin(probe)
        for attempt in (1, 2):
            probe.step()
            click_at(origin, INSTALL)
            probe.wait_for(lambda line: line.startswith("notify click buttonInstall"), 30)
            check(f"refused {attempt}" in probe.lines(), f"no refusal {attempt}: {probe.lines()}")
            check(wait_for(lambda: x_window(TITLE), 10), "the options window did not come back")
            time.sleep(0.5)
        xdo("windowfocus", "--sync", x_window(TITLE))
        xdo("key", "Escape")
        check(exit_code(probe.process, 20) == 0, "Escape did not end the probe with 0")
    finally:
        probe.close()


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def benchmark(args, _service):
    """Figures, no limits: start to first paint of the options window (the handshake with the
    service included) beside a bare window program, and the window's repaint times."""
    out = subprocess.run(
        [os.environ["WINE_BIN"], os.path.join(args.probes, "first_paint_bench.exe"), "5",
         "installer", windows_path(args.installer), "VQUpdateMainWin", *map(str, INSTALL),
         "bare", windows_path(os.path.join(args.probes, "bare_window.exe")), "VQBareWindow",
         *map(str, INSTALL)],
        capture_output=True, text=True, timeout=600)
    print(out.stdout, end="")
    check(out.returncode == 0, f"the first-paint benchmark failed: {out.stdout}")
    medians = {line.split()[0]: float(line.split()[1].split("=")[1])
               for line in out.stdout.splitlines() if " median=" in line}
    print(f"start to first paint: installer / bare window = "
          f"{medians['installer'] / medians['bare']:.2f} (goal: at most 1.5)")
    probe = start_probe(args, "bench")
    try:
        line = probe.wait_for(lambda line: line.startswith("bench "), 120)
        print("in the probe (ms): the window's creation with its skin, its first paint, then "
              "repaints (mean of 200):", line[len("bench "):])
    finally:
        probe.close()


# Scenario: (fault switches and service options, run).
SCENARIOS = {
    "close_routes": ([], close_routes),
    "agreement_cleared": ([], agreement_cleared),
    "missing_drive": ([], missing_drive),
    "three_levels": ([], three_levels),
    "existing_file": ([], existing_file),
    "links": (["--agreement-url", RECORDER_ADDRESS, "--privacy-url", "RECORDER"], links),
    "caption_toggles": (None, caption_toggles),
    "folder_browse": (None, folder_browse),
    "splash": (None, splash),
    "download_window_refused": (None, download_window_refused),
    "benchmark": ([], benchmark),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=SCENARIOS)
    for name in ("installer", "service", "url", "probes", "archive", "work"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    options, run = SCENARIOS[args.scenario]

    def start_service():
        recorder = "Z:" + os.path.join(args.probes, "url_recorder.exe").replace("/", "\\")
        return DevService(args.service, args.url, args.work,
                          *[recorder if o == "RECORDER" else o for o in options])

    return run_scenario(args.scenario, lambda service: run(args, service),
                        start_service if options is not None else None,
                        (service_e2e.Failure, probe_driver.Failure))


if __name__ == "__main__":
    sys.exit(main())
