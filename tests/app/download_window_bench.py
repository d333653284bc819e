#!/usr/bin/env python3
"""Benchmark of the download window in the real installer: figures beside their references
from the same run, no limits. Runs inside `scripts/wine-run.sh --with-env`.

- Replies during a full-speed download: Install clicked (real X input) with the development
  service serving a 256 MiB package; download_window_bench.exe sends the download window a
  message every 10 ms and times each reply until the window hides (all of them, those during
  the download, and how long its opening and its switch to the splash kept it from replying). The references are the same probe on a bare window program
  while WinHTTP downloads the same package under the same Wine, and with nothing else running;
  and the download window receiving the worker's 101 progress steps without a download.
- Idle CPU: the process CPU time of the download window opened and hidden (as during the
  installation, its shadow windows included) over 5 s of idle, beside a bare hidden window's,
  and the same bare window keeping a 10 ms timer (what a layered skinned window runs).

  download_window_bench.py --bench EXE --installer EXE --service BIN --url URL --probes DIR
                           --package EXE --archive ZIP --work DIR

BENCH is download_window_bench.exe; PROBES the folder of the test programs (bare_window.exe,
winhttp_download.exe, message_box_probe.exe).
"""
import argparse
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "ui"))
sys.path.insert(0, HERE)
import probe_driver  # noqa: E402
import service_e2e  # noqa: E402
from download_window_e2e import start_install  # noqa: E402
from options_window_e2e import windows_path  # noqa: E402
from service_e2e import STARTED, check, exit_code, run_scenario, start_wine  # noqa: E402
from worker_e2e import BIG_PACKAGE_PADDING, Run  # noqa: E402

IDLE_SECONDS = 5
BARE_REPLY_SECONDS = 2


class Bench:
    """download_window_bench.exe running under Wine, its output read from a file (a pipe may be
    kept open by Wine's helper processes)."""

    def __init__(self, args, *bench_args):
        self.out = tempfile.TemporaryFile()
        self.process = subprocess.Popen([os.environ["WINE_BIN"], args.bench, *bench_args],
                                        stdout=self.out, stderr=subprocess.DEVNULL)
        STARTED.append(self.process)

    def output(self, timeout):
        check(exit_code(self.process, timeout) == 0, "the benchmark probe failed")
        with self.out:
            self.out.seek(0)
            return self.out.read().decode("utf-8").strip()


def figures(line):
    """{"n": "123", "p50": "0.4", ...} from "replies n=123 p50=0.4 ..."."""
    return dict(field.split("=", 1) for field in line.split() if "=" in field)


def print_replies(name, output, parts=None):
    """The probe's summary lines ("replies PART ...") of the given parts, by their labels; with
    the part "between", also how long the window's opening and its last message took."""
    parts = parts or {"all": "all"}
    lines = output.splitlines()
    for line in lines:
        f, part = figures(line), line.split()[1]
        if line.startswith("replies ") and part in parts:
            print(f"{name}, {parts[part]}: {f['n']} messages every 10 ms, reply p50 {f['p50']} "
                  f"ms, p99 {f['p99']} ms, max {f['max']} ms, {f['timeouts']} without a reply "
                  f"within 1 s")
    if "between" in parts:
        f = figures(next(line for line in lines if line.startswith("phases ")))
        print(f"{name}: no reply for the first {f['opening']} ms after it showed (its opening); "
              f"the last message, during the switch to the splash, waited {f['last']} ms")


def bare_replies(args, seconds, during=()):
    """The probe on a bare window program for `seconds`; with `during` (a Windows program and
    its arguments), while that program runs under the same Wine."""
    bare = start_wine(os.path.join(args.probes, "bare_window.exe"))
    try:
        bench = Bench(args, "replies", "VQBareWindow", str(seconds))
        busy = start_wine(*during) if during else None
        line = bench.output(90)
        if busy:
            check(exit_code(busy, 170) == 0, f"{during[0]} failed")
        return line
    finally:
        bare.kill()
        bare.wait()


def replies(args):
    """The probe on the download window while the package downloads (the installer then
    installs the fake package and ends with 0), and on the bare window while WinHTTP downloads
    the same package."""
    run = Run(args, padding=BIG_PACKAGE_PADDING)
    service = run.service()
    try:
        bench = Bench(args, "replies", "VQUpdateDownloading", "120")
        installer, _ = start_install(args, run)
        download = bench.output(150)
        check(exit_code(installer.process, 120) == 0, "the installer did not exit with code 0")
        output = os.path.join(run.files, "winhttp.out")
        winhttp = (os.path.join(args.probes, "winhttp_download.exe"), str(service.port),
                   "/package.exe", windows_path(output))
        busy = bare_replies(args, BARE_REPLY_SECONDS, during=winhttp)
        os.remove(output)
        return download, busy
    finally:
        service.close()


def progress_steps(args):
    """The download window in the probe's own process, the worker's 101 progress steps 25 ms
    apart without a download, beside the same time without steps."""
    output = Bench(args, "progress", windows_path(args.archive)).output(90)
    print_replies("download window, no download (reference)", output,
                  {"steps": "101 progress steps 25 ms apart", "idle": "2.5 s without them"})
    cpu = {line.split()[1]: figures(line)["cpu"] for line in output.splitlines()
           if line.startswith("progress ")}
    print(f"  process CPU time of those 2.5 s: {cpu['steps']} ms with the steps, "
          f"{cpu['idle']} ms without")


def idle_cpu(args, which):
    line = Bench(args, "idle", windows_path(args.archive), str(IDLE_SECONDS), which).output(90)
    return figures(line)


def benchmark(args):
    download, busy = replies(args)
    print_replies("download window during a 256 MiB download", download,
                  {"all": "all", "between": "during the download"})
    print_replies("bare window while WinHTTP downloads it under the same Wine (reference)", busy)
    print_replies("bare window, idle (reference)", bare_replies(args, BARE_REPLY_SECONDS))
    progress_steps(args)
    print("(goal: download window p99 below 16 ms)")
    cpu = {which: idle_cpu(args, which)["cpu"] for which in ("download", "bare", "bare-timer")}
    print(f"idle CPU over {IDLE_SECONDS} s with the window hidden (process CPU time, kernel and "
          f"user): download window {cpu['download']} ms, bare window {cpu['bare']} ms, bare "
          f"window with a 10 ms timer {cpu['bare-timer']} ms")


def main():
    parser = argparse.ArgumentParser()
    for name in ("bench", "installer", "service", "url", "probes", "package", "archive", "work"):
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    return run_scenario("download_window_bench", lambda _: benchmark(args),
                        failures=(service_e2e.Failure, probe_driver.Failure))


if __name__ == "__main__":
    sys.exit(main())
