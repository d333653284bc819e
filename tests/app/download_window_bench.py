#!/usr/bin/env python3
"""Benchmark of the download window in the real installer: figures beside their references
from the same run, no limits. Runs inside `scripts/wine-run.sh --with-env`.

- Replies during a full-speed download: Install clicked (real X input) with the development
  service serving a 256 MiB package; download_window_bench.exe sends the download window a
  message every 10 ms and times each reply until the window hides (all of them, and those
  after the window's first second). The references are the same probe on a bare window program
  while WinHTTP downloads the same package under the same Wine, and with nothing else running.
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


def print_replies(name, output):
    """The probe's two summaries: every message, and those sent after the window's first second
    (its first paint and the start of the download behind it)."""
    for line in output.splitlines():
        f = figures(line)
        part = "all" if line.split()[1] == "all" else "after its first second"
        print(f"{name}, {part}: {f['n']} messages every 10 ms, reply p50 {f['p50']} ms, "
              f"p99 {f['p99']} ms, max {f['max']} ms, {f['timeouts']} without a reply within 1 s")


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


def idle_cpu(args, which):
    line = Bench(args, "idle", windows_path(args.archive), str(IDLE_SECONDS), which).output(90)
    return figures(line)


def benchmark(args):
    download, busy = replies(args)
    print_replies("download window during a 256 MiB download", download)
    print_replies("bare window while WinHTTP downloads it under the same Wine (reference)", busy)
    print_replies("bare window, idle (reference)", bare_replies(args, BARE_REPLY_SECONDS))
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
