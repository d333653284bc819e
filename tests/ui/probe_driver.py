"""What the real-input drivers share: a probe program started under Wine that logs one line
per event into a file, waiting for and stepping through those lines, xdotool, and the run of
named scenarios. The drivers run through `scripts/wine-run.sh --with-env` (DISPLAY,
WINEPREFIX and WINE_BIN set).
"""
import os
import subprocess
import time

# More than the double-click time, so that two clicks never pair.
SPACING = 0.7


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def xdo(*args):
    """Runs xdotool and returns what it printed."""
    return subprocess.run(["xdotool", *map(str, args)], check=True, timeout=10,
                          capture_output=True, text=True).stdout


def focus_window(title):
    """Gives the keyboard focus to the probe's X window of that (ASCII) title."""
    found = subprocess.run(["xdotool", "search", "--name", f"^{title}$"],
                           capture_output=True, text=True, timeout=10).stdout.split()
    check(found, f"the probe's X window {title!r}")
    xdo("windowfocus", "--sync", found[0])


def field(line, name):
    """The value of `name=value` in a log line, or None."""
    for part in line.split():
        if part.startswith(name + "="):
            return part[len(name) + 1:]
    return None


class Probe:
    """A probe program writing its log to WORK/LOG_NAME; waits for its "ready" line."""

    def __init__(self, program, work, log_name, *args):
        os.makedirs(work, exist_ok=True)
        self.log_path = os.path.join(work, log_name)
        if os.path.exists(self.log_path):
            os.remove(self.log_path)
        self.process = subprocess.Popen([os.environ["WINE_BIN"], program, self.log_path, *args],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.seen = 0
        self.ready = self.wait_for(lambda line: line.startswith("ready"), 30)

    def lines(self):
        try:
            with open(self.log_path, encoding="utf-8") as log:
                return log.read().splitlines()
        except FileNotFoundError:
            return []

    def wait_for(self, predicate, timeout=5):
        """The first new line that satisfies `predicate` (the lines before it stay new)."""
        end = time.time() + timeout
        while time.time() < end:
            for line in self.lines()[self.seen:]:
                if predicate(line):
                    return line
            time.sleep(0.03)
        raise Failure(f"timed out; log since the last step: {self.lines()[self.seen:]}")

    def step(self, settle=0.4):
        """The log lines since the previous step, after letting the events settle."""
        time.sleep(settle)
        lines = self.lines()
        new, self.seen = lines[self.seen:], len(lines)
        return new

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def run_scenarios(probe, scenarios, before=None):
    """Runs `before(probe)` and then each scenario after a step, printing "ok NAME" for each;
    returns the exit code of the driver. The probe is closed in every case."""
    try:
        if before:
            before(probe)
        for scenario in scenarios:
            probe.step()
            scenario(probe)
            print(f"ok {scenario.__name__}")
    except Failure as failure:
        print(f"FAILED: {failure}")
        return 1
    finally:
        probe.close()
    return 0
