#!/usr/bin/env python3
"""The installer's support log ("VQUpdate.log" in the user's temporary folder): the real
installer under Wine and real X input on the private display of `scripts/wine-run.sh
--with-env`, against the development service, on every way a run can go. The log is checked by
content (the events and their key values, in order), not by its exact wording; and a log that
cannot be written changes nothing else.

  support_log_e2e.py SCENARIO --installer EXE --service BIN --url URL --probes DIR
                     --package EXE --work DIR
"""
import ntpath
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
from download_window_e2e import start_install, stalled_service  # noqa: E402
from options_window_e2e import AGREE_BOX, INSTALL, Installer, StandIns  # noqa: E402
from service_e2e import (HANDSHAKE_RECORD, PAYLOAD_KEY, DevService, check, expect_error_box,  # noqa: E402
                         driver_main, exit_code, press, start_wine, wait_for)
from worker_e2e import (INSTALL_FAILURE, NETWORK_FAILURE, Run, check_installed,  # noqa: E402
                        dismiss_failure_box, gets)

LOG_NAME = "VQUpdate.log"
# "2026-12-09 06:42:28.123 " before every event.
STAMP = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ")
START = r"start: VQUpdate \S+ \(32-bit\), Windows \d+\.\d+\.\d+.*, code page 936"


# --- The log ----------------------------------------------------------------------------------

def temp_folder():
    """The prefix's temporary folder as Linux sees it, from Windows' own %TEMP%."""
    out = subprocess.run([os.environ["WINE_BIN"], "cmd", "/c", "echo", "%TEMP%"],
                         capture_output=True, text=True, timeout=60, check=True).stdout
    windows = out.strip().splitlines()[-1].strip()
    drive, rest = ntpath.splitdrive(windows)
    check(drive.upper() == "C:", f"%TEMP% is {windows!r}, not on drive C")
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *rest.strip("\\").split("\\"))


class SupportLog:
    """The log of the next run: the previous one removed first, so a stale log never passes."""

    def __init__(self):
        self.path = os.path.join(temp_folder(), LOG_NAME)
        if os.path.isdir(self.path):
            os.rmdir(self.path)
        elif os.path.exists(self.path):
            os.remove(self.path)

    def events(self):
        """The events without their timestamps; every line must carry one."""
        check(os.path.isfile(self.path), f"no log at {self.path}")
        with open(self.path, "rb") as log:
            text = log.read().decode("utf-8")  # strict: the log is UTF-8
        lines = text.split("\r\n")
        check(lines[-1] == "", "the log does not end with a line end")
        for line in lines[:-1]:
            check(STAMP.match(line), f"line without a millisecond timestamp: {line!r}")
        return [STAMP.sub("", line) for line in lines[:-1]]


def check_story(events, story):
    """Each pattern of the story matches an event, in this order (other events may lie
    between); the run ends with the last one."""
    position = 0
    for pattern in story:
        found = next((i for i in range(position, len(events)) if re.search(pattern, events[i])),
                     None)
        check(found is not None,
              f"no event {pattern!r} after event {position}; the log:\n" + "\n".join(events))
        position = found + 1
    check(position == len(events), "events after the end:\n" + "\n".join(events[position:]))


def count(events, pattern):
    return sum(1 for e in events if re.search(pattern, e))


def check_nothing_secret(events):
    """Neither the key, nor a request body, nor the decrypted answer's addresses."""
    text = "\n".join(events)
    check(PAYLOAD_KEY.decode() not in text, "the key is in the log")
    check(HANDSHAKE_RECORD.decode() not in text, "the handshake record is in the log")
    check("/privacy.html" not in text and "/agreement.html" not in text,
          "the decrypted answer's addresses are in the log")


# --- Start-up ---------------------------------------------------------------------------------

# The handshake's failures: the service's fault switch, and the outcome each attempt logs.
HANDSHAKE_FAILURES = (
    ("refuse", r"no answer \(Connection\)"),
    ("close", r"no answer \(Read\)"),
    ("endless", r"no answer \(Canceled\)"),  # the answer is refused past its size cap
    ("302", r"status 302"),
    ("500", r"status 500"),
)


def handshake_failures(args):
    """For each way the handshake fails, three attempts, each with its error or status and
    duration, the network error box, and its dismissal as the end."""
    for fault, outcome in HANDSHAKE_FAILURES:
        log = SupportLog()
        service = DevService(args.service, args.url, args.work, "--fault", fault)
        try:
            expect_error_box(args, start_wine(args.installer))
        finally:
            service.close()
        events = log.events()
        attempt = [rf"^initInstall: {outcome}, \d+ ms$", r"^handshake attempt \d failed$"]
        check_story(events, [START] + attempt * 3 + [
            r"^network error box shown", r"^end: network error box dismissed, exit 0$"])
        check(count(events, r"^handshake attempt") == 3, f"not three attempts: {events}")
        check_nothing_secret(events)


def handshake_retry_then_close(args):
    """A 500, then a 200: one failed and one successful attempt with the current version; the
    options window closed with Alt+F4 is the end."""
    log = SupportLog()
    service = DevService(args.service, args.url, args.work, "--fault", "500", "--fault-count", "1")
    try:
        installer = Installer(args)
        installer.key("alt+F4")
        installer.expect_exit_zero()
    finally:
        service.close()
    events = log.events()
    check_story(events, [
        START, r"^initInstall: status 500, \d+ ms$", r"^handshake attempt 1 failed$",
        r"^initInstall: status 200, \d+ ms$", r'^handshake attempt 2 succeeded: .*"5\.6\.7"',
        r"^end: options window closed"])
    check_nothing_secret(events)


# --- Installation -------------------------------------------------------------------------------

def click_install(args, run):
    """The options window with the run's folder, Install clicked. The download window may
    show for a moment only (a small package), so it is not waited for."""
    installer = Installer(args)
    installer.set_folder(run.windows_dir)
    installer.click(INSTALL)
    return installer.process


def installed_story(run):
    folder = re.escape(run.windows_dir)
    return [
        START, r"^initInstall: status 200", r"^handshake attempt 1 succeeded",
        rf"^install clicked: folder {folder}, desktop shortcut yes, start menu yes",
        r"^client processes ended: 0", r"^preparation: the folder is ready",
        r"^download attempt 1: status 200", rf"^package downloaded: {folder}/package\.exe$",
        rf"^installer start: {folder}/package\.exe /S /D={folder}$",
        r"^installer exited with code 5 after \d+ ms$",
        r"^desktoplinkpath\.exe 0 started$", r"^menupath\.exe started$",
        r"^channel\.txt written$", r"^RADovaza_ZO\.exe started$", r"^package deleted$",
        r"^installEnd: status 200, \d+ ms$", r"^end: installation complete, exit 0$"]


def successful_install(args):
    """The whole installation with an installer that exits with 5: its exit code is logged,
    and every finishing step still runs (and is logged with its result)."""
    run = Run(args)
    run.behave(exit_code_=5)
    log = SupportLog()
    service = run.service()
    try:
        installer = click_install(args, run)
        check(exit_code(installer, 60) == 0, "the installer did not exit with code 0")
        check_installed(run, {"events": ["splash", "finish"], "failure": ""})
    finally:
        service.close()
    events = log.events()
    check_story(events, installed_story(run))
    # The start report runs beside the worker: after the click, anywhere before the end.
    clicked = next(i for i, e in enumerate(events) if e.startswith("install clicked"))
    check(count(events[clicked:], r"^installStart: status 200, \d+ ms$") == 1,
          f"no installStart result after the click: {events}")
    check_nothing_secret(events)


def unwritable_log(args):
    """The log's path is a folder: the same installation succeeds exactly as with a log."""
    run = Run(args)
    log = SupportLog()
    os.makedirs(log.path)
    service = run.service()
    try:
        installer = click_install(args, run)
        check(exit_code(installer, 60) == 0, "the installer did not exit with code 0")
        check_installed(run, {"events": ["splash", "finish"], "failure": ""})
        check(len(gets(service)) == 1, f"GETs: {gets(service)}")
        names = sorted(re.search(r'"operateName":"(\w+)"', r)[1] for r in service.telemetry())
        check(names == ["installEnd", "installStart"], f"telemetry {names}")
        check(os.path.isdir(log.path) and not os.listdir(log.path), "the folder was changed")
    finally:
        service.close()
        os.rmdir(log.path)


def network_failure(args):
    """Four failed downloads, each with its status: the network failure box and its dismissal
    end the run."""
    run = Run(args)
    log = SupportLog()
    service = run.service("--fault-path", "/package.exe", "--fault", "404")
    try:
        installer = click_install(args, run)
        dismiss_failure_box(args.probes, NETWORK_FAILURE, 60)
        check(exit_code(installer, 20) == 0, "the installer did not exit with code 0")
    finally:
        service.close()
    events = log.events()
    check_story(events, [START, r"^install clicked", r"^preparation: the folder is ready"] +
                [rf"^download attempt {n}: status 404" for n in range(1, 5)] +
                [r"^failure box shown: " + NETWORK_FAILURE + "$",
                 r"^end: failure box dismissed, exit 0$"])
    check(count(events, r"^package downloaded|^installer start") == 0, f"installed: {events}")


def install_failure(args):
    """A package that is no program: three failed starts, each with its error, then the
    install failure box and its dismissal."""
    run = Run(args)
    log = SupportLog()
    service = run.service("--fault-path", "/package.exe", "--fault", "not-a-program")
    try:
        installer = click_install(args, run)
        dismiss_failure_box(args.probes, INSTALL_FAILURE, 60)
        check(exit_code(installer, 20) == 0, "the installer did not exit with code 0")
    finally:
        service.close()
    events = log.events()
    start = [r"^installer start: ", r"^installer start failed, error \d+$"]
    check_story(events, [START, r"^install clicked", r"^package downloaded"] + start * 3 + [
        r"^failure box shown: " + INSTALL_FAILURE + "$", r"^end: failure box dismissed, exit 0$"])
    check(count(events, r"^installer start: ") == 3, f"not three starts: {events}")
    check(count(events, r"channel\.txt|started$") == 0, f"finishing steps ran: {events}")


def user_closes(args):
    """A running client and updater ended, each with its process id; then Escape on the
    download window during a stalled download is the end, and nothing follows it."""
    run = Run(args)
    log = SupportLog()
    stand_ins = StandIns(args, ["RADovaza_ZO.exe", "VOZezadev.exe"])
    service = stalled_service(run, 100)
    try:
        installer, window = start_install(args, run)
        time.sleep(2)
        press(window, "Escape")
        check(exit_code(installer.process, 20) == 0, "the installer did not exit with code 0")
        check(stand_ins.ended() == ["RADovaza_ZO.exe", "VOZezadev.exe"], "the stand-ins run on")
    finally:
        service.close()
        stand_ins.close()
    events = log.events()
    check_story(events, [START, r"^install clicked",
                         r"^client processes ended: 1, updaters ended: 1$",
                         r"^preparation: the folder is ready",
                         r"^end: download window closed by the user, exit 0$"])
    for name in ("RADovaza_ZO", "VOZezadev"):
        check(count(events, rf"^process \d+ \({name}\.exe\) ended$") == 1, f"{name}: {events}")


def agreement_refused(args):
    """Install with the agreement box cleared: the preparation's outcome and its box, then the
    options window closed."""
    log = SupportLog()
    service = DevService(args.service, args.url, args.work)
    try:
        installer = Installer(args)
        installer.click(AGREE_BOX)
        installer.click(INSTALL)
        installer.expect_box("警告", "请阅读用户隐私协议并勾选")
        installer.key("alt+F4")
        installer.expect_exit_zero()
    finally:
        service.close()
    check_story(log.events(), [START, r"^handshake attempt 1 succeeded",
                               r"^install clicked: .*agreement no",
                               r"^preparation: the agreement box is not ticked",
                               r"^message box shown: 请阅读用户隐私协议并勾选$",
                               r"^end: options window closed"])


def with_log_on_failure(scenario, args):
    """Runs the scenario; a failure also shows the last run's log, which tells what happened."""
    try:
        scenario(args)
    except (service_e2e.Failure, probe_driver.Failure) as failure:
        path = os.path.join(temp_folder(), LOG_NAME)
        if os.path.isfile(path):
            with open(path, encoding="utf-8", errors="replace") as log:
                raise type(failure)(f"{failure}\nthe last run's log:\n{log.read()}") from None
        raise


SCENARIOS = {
    "handshake_failures": handshake_failures,
    "handshake_retry_then_close": handshake_retry_then_close,
    "successful_install": successful_install,
    "unwritable_log": unwritable_log,
    "network_failure": network_failure,
    "install_failure": install_failure,
    "user_closes": user_closes,
    "agreement_refused": agreement_refused,
}


if __name__ == "__main__":
    sys.exit(driver_main(SCENARIOS, ("installer", "service", "url", "probes", "package", "work"),
                         failures=(service_e2e.Failure, probe_driver.Failure),
                         run=with_log_on_failure))
