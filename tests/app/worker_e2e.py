#!/usr/bin/env python3
"""End-to-end tests of the download-and-install worker: worker_probe.exe runs the worker under
Wine against the development install service on loopback, which serves the fake package (a copy
of fake_package.exe with 4 MiB appended, so the download spans about a thousand reads). Runs
inside `scripts/wine-run.sh --with-env` (WINEPREFIX and WINE_BIN set).

  worker_e2e.py SCENARIO --service BIN --probe EXE --package EXE --url URL --work DIR

Install folders live in the prefix's drive C; each run starts from an empty folder.
"""
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from service_e2e import (DevService, check, dialogs, driver_main, exit_code, press, start_wine,
                         wait_for, x_window)

NETWORK_FAILURE = "请检查网络后重新下载"
INSTALL_FAILURE = "程序安装出错请重新安装"
FAILURE_TITLE = "警告"
IDOK = 1
PACKAGE_PADDING = 4 * 1024 * 1024
BIG_PACKAGE_PADDING = 256 * 1024 * 1024
RESUME_BENCH_PADDING = 256 * 1024 * 1024
CHUNK = 1024 * 1024


class Run:
    """One scenario: the served files, the install folder, the probe's report and logs."""

    def __init__(self, args, folder_name="vq-worker-test", padding=PACKAGE_PADDING, filler=bytes):
        self.args = args
        os.makedirs(args.work, exist_ok=True)
        self.files = tempfile.mkdtemp(dir=args.work)
        self.drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
        self.folder_name = folder_name
        self.install_dir = os.path.join(self.drive_c, folder_name)
        shutil.rmtree(self.install_dir, ignore_errors=True)
        os.makedirs(self.install_dir)
        self.serve_package(padding, filler)

    @property
    def windows_dir(self):
        return "C:\\" + self.folder_name.replace("/", "\\")

    def serve_package(self, padding, filler=bytes, name="package.exe"):
        """The fake package with `padding` bytes of `filler(CHUNK)` appended (random bytes
        where a misplaced range must show)."""
        path = os.path.join(self.files, name)
        with open(self.args.package, "rb") as program, open(path, "wb") as served:
            served.write(program.read())
            for _ in range(padding // CHUNK):
                served.write(filler(CHUNK))
        return path

    def behave(self, exit_code_=0, delay_ms=0):
        """The fake package's side file, planted where the package will be saved."""
        with open(os.path.join(self.install_dir, "fake-package.txt"), "w") as side:
            side.write(f"exit={exit_code_} delay={delay_ms}")

    def service(self, *faults):
        return DevService(self.args.service, self.args.url, self.args.work,
                          "--files", self.files, *faults)

    def probe(self, *flags, path="/package.exe", timeout=90, box=None):
        """Runs the worker; returns its report. With box (a text), the failure shows the real
        message box, which must carry that text, and is dismissed with Return."""
        report = os.path.join(self.files, "report.json")
        if os.path.exists(report):
            os.remove(report)
        address = self.args.url + path
        process = start_wine(self.args.probe, address, self.windows_dir,
                             "Z:" + report.replace("/", "\\"), *flags,
                             *(["--failure-box"] if box else []))
        if box:
            dismiss_failure_box(os.path.dirname(self.args.probe), box, timeout)
        check(exit_code(process, timeout) == 0, "the probe did not exit with code 0")
        check(os.path.exists(report), "the worker ended without finishing or failing")
        with open(report, encoding="utf-8") as text:
            return json.load(text)

    def runs(self, program=None):
        """The fake package's run log lines in the install folder (of one program); a line still
        being written (no line end yet) is left for the next look."""
        log = os.path.join(self.install_dir, "runs.log")
        if not os.path.exists(log):
            return []
        with open(log, encoding="utf-8") as lines:
            runs = [json.loads(line) for line in lines if line.strip() and line.endswith("\n")]
        return [r for r in runs if program is None or r["exe"].lower() == program.lower()]

    def path(self, name):
        return os.path.join(self.install_dir, name)


def dismiss_failure_box(probes, text, timeout):
    """Waits for the worker's failure box, checks it and presses Return on it."""
    boxes = wait_for(lambda: [d for d in dialogs(probes) if d["title"] == FAILURE_TITLE], timeout,
                     step=0.3)
    check(boxes and len(boxes) == 1, f"expected one box titled {FAILURE_TITLE}, got {boxes}")
    box = boxes[0]
    check(box["text"] == text, f"box text {box['text']!r}")
    check(not box["owned"] and box["buttons"] == [IDOK], f"box {box} has an owner or more than OK")
    window = wait_for(lambda: x_window(FAILURE_TITLE), 10)
    check(window, "the box has no X window")
    press(window, "Return")


def gets(service, path="/package.exe"):
    return [r for r in service.requests() if r["method"] == "GET" and r["path"] == path]


def check_spacing(requests, count, at_least):
    check(len(requests) == count, f"expected {count} GETs, got {len(requests)}")
    gaps = [b["time"] - a["time"] for a, b in zip(requests, requests[1:])]
    print("gaps between GETs (s):", ", ".join(f"{g:.2f}" for g in gaps))
    check(all(at_least <= g <= at_least + 10 for g in gaps),
          f"gaps {gaps} are not about {at_least} s or more")


def check_installed(run, report, desktop="0", menu=True):
    """The finishing steps after a successful installer run."""
    check(report["events"][-2:] == ["splash", "finish"], f"events end {report['events'][-2:]}")
    check(report["failure"] == "", f"failure {report['failure']!r}")
    folder = run.windows_dir
    installer = run.runs("package.exe")
    check(len(installer) == 1, f"the installer ran {len(installer)} times")
    check(installer[0]["cmdline"] == f"{folder}/package.exe /S /D={folder}",
          f"installer command line {installer[0]['cmdline']!r}")
    check(installer[0]["cwd"].rstrip("\\").lower() == folder.lower(),
          f"installer current directory {installer[0]['cwd']!r}")
    # The shell starts the three programs one after the other without waiting for them, so
    # they log in any order.
    expected = ["desktoplinkpath.exe", "RADovaza_ZO.exe"] + (["menupath.exe"] if menu else [])
    wait_for(lambda: all(run.runs(program) for program in expected), 20)
    time.sleep(1)  # time for a program that should not run to show up anyway
    desktop_runs = run.runs("desktoplinkpath.exe")
    check(len(desktop_runs) == 1, f"desktoplinkpath.exe ran {len(desktop_runs)} times")
    check(desktop_runs[0]["cmdline"].endswith(" " + desktop),
          f"desktoplinkpath.exe command line {desktop_runs[0]['cmdline']!r}")
    check(len(run.runs("menupath.exe")) == (1 if menu else 0),
          f"menupath.exe ran {len(run.runs('menupath.exe'))} times")
    check(len(run.runs("RADovaza_ZO.exe")) == 1, "the client did not start once")
    with open(run.path("channel.txt"), "rb") as channel:
        check(channel.read() == b"office\r\n", "channel.txt is not exactly office CR LF")
    check(not os.path.exists(run.path("package.exe")), "the package was not removed")


def whole_install(args):
    run = Run(args)
    run.behave(delay_ms=2000)
    service = run.service("--fault-path", "/none")
    try:
        report = run.probe(path="/package.exe?channel=office")
        requests = gets(service)
        check(len(requests) == 1, f"expected one GET, got {len(requests)}")
        check(requests[0]["userAgent"] == "cpp-httplib/0.7", f"User-Agent {requests[0]['userAgent']!r}")
        check(requests[0]["connection"].lower() != "close", "the GET asked to close")
        check_installed(run, report)
        percents = report["percents"]
        print(f"{len(percents)} progress updates, {report['moves']} picture moves; download "
              f"{report['downloadSeconds']:.2f} s, peak working set "
              f"{report['peakWorkingSetMiB']:.1f} MiB")
        check(1 <= len(percents) <= 101, f"{len(percents)} progress updates")
        check(percents == sorted(set(percents)) and percents[-1] == 100,
              f"percents {percents} do not rise to 100")
        telemetry = service.telemetry()
        check(len(telemetry) == 1 and '"operateName":"installEnd"' in telemetry[0],
              f"telemetry {telemetry}")
        latency = int(re.search(r'"latency":(-?\d+)', telemetry[0])[1])
        check(latency >= 2, f"latency {latency} s is shorter than the installer's 2 s")
    finally:
        service.close()


def no_shortcuts(args):
    run = Run(args)
    service = run.service()
    try:
        check_installed(run, run.probe("--no-desktop", "--no-menu"), desktop="2", menu=False)
    finally:
        service.close()


def failing_downloads(faults, flags=()):
    """Four failed attempts 3 s apart, then the network failure; nothing installed."""
    def scenario(args):
        run = Run(args)
        service = run.service("--fault-path", "/package.exe", *faults)
        try:
            report = run.probe(*flags, box=NETWORK_FAILURE)
            check(report["failure"] == NETWORK_FAILURE, f"failure {report['failure']!r}")
            check("splash" not in report["events"], "the splash was shown")
            check(report["pauses"] == [3000] * 4, f"pauses {report['pauses']}")
            check_spacing(gets(service), 4, 2.9)
            check(not run.runs(), "something ran")
        finally:
            service.close()
    return scenario


def recovering_download(faults, gap, flags=(), requests=2):
    """The first attempt fails, the next one succeeds after the pause (and `gap` seconds)."""
    def scenario(args):
        run = Run(args)
        service = run.service("--fault-path", "/package.exe", "--fault-count", "1", *faults)
        try:
            report = run.probe(*flags)
            check(report["pauses"] == [3000], f"pauses {report['pauses']}")
            check_spacing(gets(service), requests, gap)
            check(not [r for r in service.requests() if r["path"] == "/redirected"],
                  "the redirect was followed")
            check_installed(run, report)
        finally:
            service.close()
    return scenario


def unsized_download(fault):
    def scenario(args):
        run = Run(args)
        service = run.service("--fault-path", "/package.exe", "--fault", fault)
        try:
            report = run.probe()
            check(len(gets(service)) == 1, "more than one GET")
            check(report["percents"] == [], f"progress without a length: {report['percents']}")
            check_installed(run, report)
        finally:
            service.close()
    return scenario


def not_a_program(args):
    run = Run(args)
    service = run.service("--fault-path", "/package.exe", "--fault", "not-a-program")
    try:
        report = run.probe(box=INSTALL_FAILURE)
        check(report["failure"] == INSTALL_FAILURE, f"failure {report['failure']!r}")
        check(report["events"][-2:] == ["splash", "fail"], f"events {report['events']}")
        check(report["pauses"] == [1000, 1000], f"pauses {report['pauses']}")
        check(os.path.exists(run.path("package.exe")), "the package was removed")
        check(not os.path.exists(run.path("channel.txt")), "finishing steps ran")
    finally:
        service.close()


def installer_fails(args):
    run = Run(args)
    run.behave(exit_code_=1)
    service = run.service()
    try:
        check_installed(run, run.probe())
    finally:
        service.close()


def planted_program(args):
    """An install folder with a space: "C:\\Program.exe" must not run in the package's place."""
    run = Run(args, folder_name="Program Files/VQ Worker Test")
    planted_dir = run.drive_c
    planted = os.path.join(planted_dir, "Program.exe")
    shutil.copy(args.package, planted)
    planted_log = os.path.join(planted_dir, "runs.log")
    if os.path.exists(planted_log):
        os.remove(planted_log)
    service = run.service()
    try:
        check_installed(run, run.probe())
        check(not os.path.exists(planted_log), "C:\\Program.exe ran")
    finally:
        os.remove(planted)
        service.close()


def unsafe_file_name(args):
    """Backslashes or ".." in the address's file part: nothing requested, nothing written."""
    run = Run(args)
    outside = os.path.join(run.drive_c, "evil.exe")
    service = run.service()
    try:
        for path in ("/a\\..\\..\\evil.exe", "/dir/.."):
            report = run.probe(path=path)
            check(report["failure"] == NETWORK_FAILURE, f"{path}: failure {report['failure']!r}")
        check(service.requests() == [], f"requests were sent: {service.requests()}")
        check(not os.path.exists(outside), "a file was written outside the install folder")
        check(sorted(os.listdir(run.install_dir)) == [], "files in the install folder")
    finally:
        service.close()


def wide_folder(args):
    run = Run(args, folder_name="vq-worker-ทดสอบ-😀")
    service = run.service()
    try:
        check_installed(run, run.probe())
    finally:
        service.close()


def reference_downloads(args, run, port):
    """Seconds the same download takes with curl (native) and with WinHTTP (under Wine), each
    into a file of the run's folder as the worker does."""
    copy = os.path.join(run.files, "curl.out")
    started = time.monotonic()
    subprocess.run(["curl", "-s", "-o", copy, args.url + "/package.exe"], check=True,
                   timeout=120)
    curl = time.monotonic() - started
    os.remove(copy)
    output = os.path.join(run.files, "winhttp.out")
    reference = os.path.join(os.path.dirname(args.probe), "winhttp_download.exe")
    result = subprocess.run([os.environ["WINE_BIN"], reference, str(port), "/package.exe",
                             "Z:" + output.replace("/", "\\")], capture_output=True, text=True,
                            timeout=170)
    check(result.returncode == 0, f"the WinHTTP download failed: {result.stderr}")
    os.remove(output)
    return curl, float(result.stdout.strip())


def big_package(args):
    """A 256 MiB package streams to disk: the probe's memory stays far below the package's
    size. Prints the download's throughput beside curl's from the same server in the same run
    (curl runs natively, the worker under Wine)."""
    run = Run(args, padding=BIG_PACKAGE_PADDING)
    service = run.service()
    try:
        size = os.path.getsize(os.path.join(run.files, "package.exe")) / CHUNK
        curl, winhttp = reference_downloads(args, run, service.port)
        report = run.probe(timeout=170)
        check_installed(run, report)
        worker = report["downloadSeconds"]
        print(f"download of {size:.0f} MiB: worker {size / worker:.1f} MiB/s ({worker:.2f} s), "
              f"WinHTTP under the same Wine {size / winhttp:.1f} MiB/s ({winhttp:.2f} s), "
              f"curl {size / curl:.1f} MiB/s ({curl:.2f} s); worker/curl {curl / worker:.3f}, "
              f"worker/WinHTTP {winhttp / worker:.3f}; peak working set "
              f"{report['peakWorkingSetMiB']:.1f} MiB")
        check(report["peakWorkingSetMiB"] <= 64,
              f"peak working set {report['peakWorkingSetMiB']:.1f} MiB for a {size:.0f} MiB package")
    finally:
        service.close()


def write_failure(args):
    """A full disk fails the attempt after its request; a file that cannot be created fails it
    before any request."""
    recovering_download([], 2.9, flags=["--fail-first-write"])(args)
    recovering_download([], 2.9, flags=["--fail-first-open"], requests=1)(args)


# --- Resumed downloads ---------------------------------------------------------------------
# The served packages carry random padding, so a range appended at the wrong place shows.
RESUME_CUT = 2 * CHUNK  # inside the padding, well past the fake program
# The headers of a plain GET of the package: the first attempt's are exactly these.
PLAIN_GET_HEADERS = {"Accept", "Host", "User-Agent"}


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as data:
        for block in iter(lambda: data.read(CHUNK), b""):
            digest.update(block)
    return digest.hexdigest()


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def check_same_package(copy, served):
    check(os.path.exists(copy), "the package was not copied when the download ended")
    check(sha256(copy) == sha256(served), "the downloaded package is not the served file")


def check_get_headers(requests, report):
    """One GET per opening of the package file: a plain one where nothing was kept, otherwise
    one asking for the rest with If-Range and no other header of its own."""
    check(len(requests) == len(report["opens"]),
          f"{len(requests)} GETs for {len(report['opens'])} attempts")
    for request, kept in zip(requests, report["opens"]):
        names = request["headers"]
        check(len(names) == len(set(names)), f"a header sent twice: {names}")
        check(request["userAgent"] == "cpp-httplib/0.7" and request["connection"] != "close",
              f"User-Agent {request['userAgent']!r}, Connection {request['connection']!r}")
        if kept == 0:
            check(set(names) == PLAIN_GET_HEADERS, f"a fresh GET sent {names}")
            continue
        check(set(names) == PLAIN_GET_HEADERS | {"Range", "If-Range"}, f"a resumed GET sent {names}")
        check(request["range"] == f"bytes={kept}-", f"Range {request['range']!r} after {kept} bytes")
        check(request["ifRange"], "a range asked without If-Range")


def support_log():
    """The support log of the next probe run (the previous one removed)."""
    from support_log_e2e import SupportLog  # imported late: that module imports this one
    return SupportLog()


ATTEMPT_LINE = r"^download attempt {number}: {answer}, {bytes} bytes in \d+\.\d\d s \(\d+\.\d\d MB/s\), "


def check_attempt_lines(log, expected):
    """One line per attempt: (answer pattern, body bytes, where the body went)."""
    lines = [e for e in log.events() if e.startswith("download attempt")]
    check(len(lines) == len(expected), f"attempt lines {lines}")
    for number, (line, (answer, size, where)) in enumerate(zip(lines, expected), 1):
        pattern = ATTEMPT_LINE.format(number=number, answer=answer, bytes=size) + where + "$"
        check(re.match(pattern, line), f"attempt line {line!r} is not {pattern!r}")


def resume_files(args, padding=PACKAGE_PADDING):
    """A run serving a randomly padded package, with where the probe copies the download."""
    run = Run(args, padding=padding, filler=os.urandom)
    run.served = os.path.join(run.files, "package.exe")
    run.copy = os.path.join(run.files, "downloaded.bin")
    return run


def resume_run(args, *service_options, padding=PACKAGE_PADDING):
    run = resume_files(args, padding)
    return run, run.service(*service_options)


def copy_flags(run, *flags):
    if os.path.exists(run.copy):
        os.remove(run.copy)
    return ("--copy-package", windows_path(run.copy), *flags)


def resumed_cuts(args):
    """The body cut at three random points: each attempt continues where the data ends, the
    progress never goes back, and the installed package is the served file."""
    run, service = resume_run(args, "--random-cuts", "20261209,3")
    try:
        log = support_log()
        report = run.probe(*copy_flags(run))
        kept = report["opens"]
        print("attempts kept", kept, "bytes of", os.path.getsize(run.served))
        check(report["pauses"] == [3000] * 3, f"pauses {report['pauses']}")
        check(len(kept) == 4 and kept[0] == 0 and 0 < kept[1] <= kept[2] <= kept[3],
              f"kept bytes {kept}")
        check_get_headers(gets(service), report)
        percents = report["percents"]
        check(percents == sorted(set(percents)) and percents[-1] == 100,
              f"the progress went back or did not reach 100: {percents}")
        check_same_package(run.copy, run.served)
        check_installed(run, report)
        ends = kept[1:] + [os.path.getsize(run.served)]
        check_attempt_lines(log, [
            ("transport error Read" if i < 3 else "status 206", ends[i] - kept[i],
             "from the start" if i == 0 else f"resumed from byte {kept[i]}")
            for i in range(4)])
    finally:
        service.close()


def changed_file(validators):
    """The file changes between attempts: the stale validator makes the service answer the
    whole new file, which replaces what arrived."""
    def scenario(args):
        run = resume_files(args)
        old = sha256(run.served)
        replacement = run.serve_package(PACKAGE_PADDING, os.urandom, name="next.bin")
        later = time.time() + 3600  # a new Last-Modified too
        os.utime(replacement, (later, later))
        service = run.service("--cut-after", str(RESUME_CUT), "--replace-with", replacement,
                              "--replace-after", "1", "--validators", validators)
        try:
            report = run.probe(*copy_flags(run))
            requests = gets(service)
            check(report["opens"] == [0, RESUME_CUT], f"kept bytes {report['opens']}")
            check_get_headers(requests, report)
            if_range = requests[1]["ifRange"]
            check(if_range.endswith(" GMT") if validators == "last-modified"
                  else if_range.startswith('"'), f"If-Range {if_range!r} with {validators}")
            check(sha256(run.served) != old, "the served file did not change")
            check_same_package(run.copy, run.served)
            check_installed(run, report)
        finally:
            service.close()
    return scenario


def started_over(args):
    """No range support, or no validator: the attempt after a cut downloads the whole file."""
    for options in (["--ranges", "none"], ["--validators", "none"]):
        run, service = resume_run(args, "--cut-after", str(RESUME_CUT), *options)
        try:
            report = run.probe(*copy_flags(run, "--stop-after-download"))
            check(report["opens"] == [0, 0], f"{options}: kept bytes {report['opens']}")
            check_get_headers(gets(service), report)
            check_same_package(run.copy, run.served)
        finally:
            service.close()


def refused_range(args):
    """A 416, or a 206 for other bytes than asked: that attempt fails, the file is started over
    and the next attempt downloads it whole."""
    for mode in ("416", "mismatch"):
        run, service = resume_run(args, "--cut-after", str(RESUME_CUT), "--ranges", mode)
        try:
            log = support_log()
            report = run.probe(*copy_flags(run, "--stop-after-download"))
            check(report["opens"] == [0, RESUME_CUT, 0], f"{mode}: kept bytes {report['opens']}")
            check(report["pauses"] == [3000, 3000], f"{mode}: pauses {report['pauses']}")
            check_get_headers(gets(service), report)
            check_same_package(run.copy, run.served)
            size = os.path.getsize(run.served)
            check_attempt_lines(log, [
                ("transport error Read", RESUME_CUT, "from the start"),
                ("status 416", 0, f"asked to resume from byte {RESUME_CUT}, started over")
                if mode == "416" else
                ("status 206", size, f"asked to resume from byte {RESUME_CUT}, started over"),
                ("status 200", size, "from the start")])
        finally:
            service.close()


def resume_benchmark(args):
    """A 256 MiB package cut at 90 %: the attempt that continues it takes about a tenth of a
    whole download's time. Prints both, measured in the same run (the probe stops after the
    download; the continuing attempt is timed from its opening of the file)."""
    size = os.path.getsize(args.package) + RESUME_BENCH_PADDING
    cut = size * 9 // 10
    # The first answer whole, the second cut at 90 %, the third whole.
    run, service = resume_run(args, "--cut-after", f"{size},{cut}", padding=RESUME_BENCH_PADDING)
    try:
        whole = run.probe(*copy_flags(run, "--stop-after-download"), timeout=170)
        check(whole["opens"] == [0], f"the whole download took {whole['opens']}")
        check_same_package(run.copy, run.served)
        resumed = run.probe(*copy_flags(run, "--stop-after-download"), timeout=170)
        check(resumed["opens"] == [0, cut], f"kept bytes {resumed['opens']}")
        check_same_package(run.copy, run.served)
        full = whole["downloadSeconds"]
        rest = resumed["downloadSeconds"] - resumed["openSeconds"][1]
        mib = size / CHUNK
        print(f"{mib:.0f} MiB package: whole download {full:.2f} s ({mib / full:.1f} MiB/s); "
              f"continued after a cut at 90 %: {rest:.2f} s, {rest / full:.3f} of the whole "
              f"(reference 0.100)")
    finally:
        service.close()


SCENARIOS = {
    "whole_install": whole_install,
    "no_shortcuts": no_shortcuts,
    "not_found": failing_downloads(["--fault", "404"]),
    "not_found_once": recovering_download(["--fault", "404"], 2.9),
    "redirect": recovering_download(["--fault", "302"], 2.9),
    # The stalled attempt waits out the 5 s read time-out, then the 3 s pause.
    "stall": recovering_download(["--fault", "stall"], 7.5),
    "no_length": unsized_download("no-length"),
    "chunked": unsized_download("chunked"),
    "gzip": recovering_download(["--fault", "gzip"], 2.9),
    "not_a_program": not_a_program,
    "installer_fails": installer_fails,
    "planted_program": planted_program,
    "unsafe_file_name": unsafe_file_name,
    "wide_folder": wide_folder,
    "write_failure": write_failure,
    "big_package": big_package,
    "resumed_cuts": resumed_cuts,
    "changed_file": changed_file("both"),
    "changed_file_dated": changed_file("last-modified"),
    "started_over": started_over,
    "refused_range": refused_range,
    "resume_benchmark": resume_benchmark,
}


if __name__ == "__main__":
    sys.exit(driver_main(SCENARIOS, ("service", "probe", "package", "url", "work")))
