#!/usr/bin/env python3
"""End-to-end tests of the installer's start-up handshake and of the telemetry reports: the real
programs under Wine against the development install service on loopback. Runs inside
`scripts/wine-run.sh --with-env` (DISPLAY, WINEPREFIX and WINE_BIN set).

  service_e2e.py SCENARIO --service BIN --installer EXE --probes DIR --url URL --work DIR

The service listens on the port of URL (the URL the installer was built with). Runs of these
tests from any build folder take a lock on that port for their whole run.
"""
import argparse
import base64
import fcntl
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import urllib.parse

HANDSHAKE_RECORD = b'{"versionCode":1,"version":"v1.0","channel":"office"}'
PAYLOAD_KEY = b"3E7A1D94C05B28F6"  # the installer's built-in key, also its initialisation vector
ERROR_TITLE = "错误"
ERROR_TEXT = "网络异常，请检查后重试"
WINDOW_TITLE = "云帆更新"
IDOK = 1


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, step=0.1):
    """Polls predicate until it returns a true value (returned) or timeout seconds pass (None)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return None


def decrypt_payload(text):
    """AES-128-CBC with the built-in key and IV, Base64 in, plaintext bytes out (openssl)."""
    out = subprocess.run(
        ["openssl", "enc", "-d", "-aes-128-cbc", "-K", PAYLOAD_KEY.hex(), "-iv", PAYLOAD_KEY.hex()],
        input=base64.b64decode(text), capture_output=True, check=True, timeout=10)
    return out.stdout


class DevService:
    """The development service on the URL's port, with its logs in a fresh folder."""

    def __init__(self, binary, url, work, *fault_args):
        self.port = urllib.parse.urlsplit(url).port or 80
        self.lock = open(f"/tmp/vq-install-service-{self.port}.lock", "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        os.makedirs(work, exist_ok=True)
        self.folder = tempfile.mkdtemp(dir=work)
        self.request_log = os.path.join(self.folder, "requests.log")
        self.telemetry_log = os.path.join(self.folder, "telemetry.log")
        self.process = subprocess.Popen(
            [binary, "--port", str(self.port), "--version", "5.6.7",
             "--request-log", self.request_log, "--telemetry-log", self.telemetry_log,
             *fault_args],
            stdout=subprocess.PIPE, text=True)
        first = self.process.stdout.readline()
        check(first.startswith(("listening", "refusing")), f"service did not start: {first!r}")

    def requests(self):
        if not os.path.exists(self.request_log):
            return []
        with open(self.request_log, encoding="utf-8") as log:
            return [json.loads(line) for line in log if line.strip()]

    def telemetry(self):
        if not os.path.exists(self.telemetry_log):
            return []
        with open(self.telemetry_log, encoding="utf-8") as log:
            return [line.rstrip("\n") for line in log if line.strip()]

    def close(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout=10)
        self.lock.close()


STARTED = []  # programs this run started under Wine, ended at exit if still running


def run_scenario(name, body, start_service=None, failures=(Failure,)):
    """Runs body(service) with the development service that start_service() gives (or None),
    prints "PASS NAME" or "FAIL NAME: why" and returns the exit code. Every program started
    under Wine that still runs, and the service, are ended in every case."""
    service = None
    try:
        if start_service:
            service = start_service()
        body(service)
    except failures as failure:
        print(f"FAIL {name}: {failure}", file=sys.stderr)
        return 1
    finally:
        for process in STARTED:
            if process.poll() is None:
                process.kill()
                process.wait()
        if service:
            service.close()
    print(f"PASS {name}")
    return 0


def driver_main(scenarios, options, failures=(Failure,), run=lambda scenario, args: scenario(args)):
    """The command line of a scenario driver: SCENARIO and a required --NAME VALUE for each
    of `options`; runs run(scenarios[SCENARIO], args) and returns the exit code."""
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(scenarios))
    for name in options:
        parser.add_argument("--" + name, required=True)
    args = parser.parse_args()
    return run_scenario(args.scenario, lambda _: run(scenarios[args.scenario], args),
                        failures=failures)


def start_wine(program, *args, trace=None):
    """Starts a Windows program. With trace (a file path), Wine writes its socket calls there,
    each stamped with the time in seconds to the millisecond."""
    env, stderr = None, subprocess.DEVNULL
    if trace:
        env = dict(os.environ, WINEDEBUG="+timestamp,+winsock")
        stderr = open(trace, "wb")
    process = subprocess.Popen([os.environ["WINE_BIN"], program, *args], env=env,
                               stdout=subprocess.DEVNULL, stderr=stderr)
    if trace:
        stderr.close()
    STARTED.append(process)
    return process


# Wine's trace of a connect() call, e.g.
# 484.584:0024:trace:winsock:connect socket 0x84, addr { family AF_INET, address 127.0.0.1,
# port 18181 }, len 16
CONNECT_TRACE = re.compile(r"^(?P<time>\d+\.\d+):[0-9a-f]+:trace:winsock:connect socket .*"
                           r"address (?P<address>[0-9.]+), port (?P<port>\d+) \}")


def connect_times(trace, port):
    """The times (s) of the traced program's connection attempts to the port."""
    with open(trace, encoding="utf-8", errors="replace") as lines:
        matches = (CONNECT_TRACE.match(line) for line in lines)
        return [float(m["time"]) for m in matches if m and int(m["port"]) == port]


def exit_code(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        raise Failure(f"{process.args[1]} still running after {timeout} s")


def dialogs(probes):
    """The visible dialog windows of the Wine session, as the message box probe reports them."""
    # Through a file: Wine's helper processes may inherit a pipe and keep it open for good.
    with tempfile.TemporaryFile() as out:
        subprocess.run([os.environ["WINE_BIN"], os.path.join(probes, "message_box_probe.exe")],
                       stdout=out, stderr=subprocess.DEVNULL, check=True, timeout=30)
        out.seek(0)
        lines = out.read().decode("utf-8").splitlines()
    return [json.loads(line) for line in lines if line.strip()]


def x_window(title):
    """The id of a visible X window with this exact title, or None. Searching by a CJK name
    misses, so every visible window's name is compared."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ""],
                         capture_output=True, text=True, timeout=10)
    for window in out.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                              text=True, timeout=10).stdout.rstrip("\n")
        if name == title:
            return window
    return None


def press(window, keys):
    """Real X input: focus the window, then send the keys to whatever has the focus."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False, timeout=10)
    subprocess.run(["xdotool", "key", keys], check=True, timeout=10)


def expect_error_box(args, installer):
    """Waits for the network error box, checks it and dismisses it with the Return key."""
    boxes = wait_for(lambda: [d for d in dialogs(args.probes) if d["title"] == ERROR_TITLE], 40,
                     step=0.3)
    check(boxes, "no message box titled 错误 appeared")
    check(len(boxes) == 1, f"expected one message box, got {boxes}")
    box = boxes[0]
    check(box["text"] == ERROR_TEXT, f"message text is {box['text']!r}")
    check(not box["owned"], "the message box has an owner window")
    check(box["buttons"] == [IDOK], f"buttons are {box['buttons']}, expected only OK")
    window = wait_for(lambda: x_window(ERROR_TITLE), 10)
    check(window, "the message box has no X window")
    press(window, "Return")
    check(exit_code(installer, 20) == 0, "the installer did not exit with code 0")


def finish_after_handshake(args, installer):
    """After a successful handshake the installer goes on to the options window: closes that
    window if it shows, and expects exit code 0 without any error box."""
    def done():
        if installer.poll() is not None:
            return True
        window = x_window(WINDOW_TITLE)
        if window:
            press(window, "alt+F4")
        return False
    wait_for(done, 40, step=0.3)
    check(exit_code(installer, 5) == 0, "the installer did not exit with code 0")
    check(not [d for d in dialogs(args.probes) if d["title"] == ERROR_TITLE],
          "an error box is showing")


def check_attempt_times(times, count):
    """count attempts, each after a pause of about 500 ms (the attempts themselves are quick
    on loopback)."""
    check(len(times) == count, f"expected {count} handshake attempts, got {len(times)}")
    gaps = [b - a for a, b in zip(times, times[1:])]
    print("pauses between attempts (s):", ", ".join(f"{g:.3f}" for g in gaps))
    check(all(0.35 <= g <= 1.5 for g in gaps), f"pauses {gaps} are not about 500 ms")


def check_spacing(requests, count):
    check(all(r["path"] == "/v1/initInstall" for r in requests),
          f"unexpected paths {[r['path'] for r in requests]}")
    check_attempt_times([r["time"] for r in requests], count)


def failing_handshake(args, service):
    """The installer gives up with the network error box after three attempts."""
    expect_error_box(args, start_wine(args.installer))
    check_spacing(service.requests(), 3)


def refused_handshake(args, service):
    """As failing_handshake, against a port where nothing listens: the service never sees the
    attempts, so Wine's trace of the installer's connect() calls counts them."""
    trace = os.path.join(service.folder, "installer-winsock.log")
    expect_error_box(args, start_wine(args.installer, trace=trace))
    check_attempt_times(connect_times(trace, service.port), 3)


def succeeding_handshake(attempts):
    def run(args, service):
        finish_after_handshake(args, start_wine(args.installer))
        check_spacing(service.requests(), attempts)
    return run


def handshake_request(args, service):
    for _ in range(2):
        finish_after_handshake(args, start_wine(args.installer, "--ignored", "argument"))
    requests = service.requests()
    check(len(requests) == 2, f"expected one request per run, got {len(requests)}")
    for request in requests:
        check(request["method"] == "POST" and request["path"] == "/v1/initInstall",
              f"unexpected request {request['method']} {request['path']}")
        check(request["userAgent"] == "cpp-httplib/0.7", f"User-Agent {request['userAgent']!r}")
        check(request["connection"].lower() != "close", f"Connection {request['connection']!r}")
        check(request["contentType"] == "application/json",
              f"Content-Type {request['contentType']!r}")
    check(requests[0]["body"] == requests[1]["body"], "the two runs sent different bodies")
    check(decrypt_payload(requests[0]["body"]) == HANDSHAKE_RECORD,
          "the body does not decrypt to the handshake record")


def without_skin_archive(installer, folder):
    """A copy of the installer whose "ZIPRES" resource type is renamed, so it is not found."""
    with open(installer, "rb") as exe:
        image = exe.read()
    # Resource directory names are UTF-16 strings after their 16-bit length.
    name = b"\x06\x00" + "ZIPRES".encode("utf-16-le")
    check(image.count(name) == 1, "the installer's resource directory names ZIPRES not once")
    copy = os.path.join(folder, "VQUpdate_without_skins.exe")
    with open(copy, "wb") as exe:
        exe.write(image.replace(name, b"\x06\x00" + "ZIPREX".encode("utf-16-le")))
    return copy


def startup_without_skin_archive(args, service):
    installer = start_wine(without_skin_archive(args.installer, service.folder))
    check(exit_code(installer, 40) == 0, "the installer did not exit with code 0")
    check(service.requests() == [], "the installer contacted the service without its skins")
    check(not dialogs(args.probes), "a window is showing")


TELEMETRY = re.compile(
    r'\{"deviceCode":"(?P<device>[0-9a-f]{32})","version":"9\.8\.7","operateTime":(?P<time>\d+),'
    r'"page":"install","latency":(?P<latency>-?\d+),"operateName":"(?P<name>\w+)"\}')


def run_telemetry_probe(args):
    probe = start_wine(os.path.join(args.probes, "telemetry_probe.exe"), args.url, "9.8.7")
    check(exit_code(probe, 40) == 0, "the end report did not exit with code 0")


def telemetry_reports(args, service):
    run_telemetry_probe(args)
    records = service.telemetry()
    check(len(records) == 2, f"expected two records, got {records}")
    start, end = (TELEMETRY.fullmatch(r) for r in records)
    check(start and end, f"records are not the six members in order: {records}")
    check(start["name"] == "installStart" and start["latency"] == "0", f"start {records[0]}")
    check(end["name"] == "installEnd" and end["latency"] == "7", f"end {records[1]}")
    check(start["device"] == end["device"], "the two records carry different device codes")
    check(abs(int(end["time"]) - time.time()) < 120, "operateTime is not the current time")


def telemetry_endless(args, service):
    """Both reports get an answer without end: each stops reading it, so the start report
    returns, the end report is sent and the probe exits with 0."""
    run_telemetry_probe(args)
    paths = [r["path"] for r in service.requests()]
    check(paths == ["/v1/runIUInfo"] * 2, f"expected the two reports, got {paths}")


# Scenario: (fault switches of the service, check).
SCENARIOS = {
    "handshake_down": (["--fault", "refuse"], refused_handshake),
    "handshake_closed": (["--fault", "close"], failing_handshake),
    # Three attempts on "/v1/initInstall" also means "/redirected" was never asked for.
    "handshake_redirect": (["--fault", "302"], failing_handshake),
    # Each attempt ends as soon as its answer is too long, so the pauses stay about 500 ms.
    "handshake_endless": (["--fault", "endless"], failing_handshake),
    "handshake_retry": (["--fault", "500", "--fault-count", "1"], succeeding_handshake(2)),
    "handshake_no_data": (["--fault", "no-data"], succeeding_handshake(1)),
    "handshake_request": ([], handshake_request),
    "startup_without_skin_archive": ([], startup_without_skin_archive),
    "telemetry_reports": ([], telemetry_reports),
    "telemetry_endless": (["--fault", "endless", "--fault-path", "/v1/runIUInfo"],
                          telemetry_endless),
    "telemetry_service_down": (["--fault", "refuse"], lambda args, _: run_telemetry_probe(args)),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario")
    parser.add_argument("--service", required=True)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--probes", required=True)
    parser.add_argument("--url", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    if args.scenario not in SCENARIOS:
        print(f"unknown scenario {args.scenario}", file=sys.stderr)
        return 2
    faults, run = SCENARIOS[args.scenario]
    return run_scenario(args.scenario, lambda service: run(args, service),
                        lambda: DevService(args.service, args.url, args.work, *faults))


if __name__ == "__main__":
    sys.exit(main())
