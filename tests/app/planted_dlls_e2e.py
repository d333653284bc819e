#!/usr/bin/env python3
"""Plants a "gdiplus.dll" and a "comctl32.dll" beside programs and runs them under Wine.
Runs inside `scripts/wine-run.sh --with-env` (WINE_BIN set).

  planted_dlls_e2e.py --planted DLL --work DIR FRAMEWORK_PROBE.exe COMCTL32_IMPORTER.exe

The planted DLLs are stand-ins that export nothing of the real ones. A program that imports
comctl32 must fail to start from that folder (which shows an import would take the planted DLL);
the program of the skin framework must start there and use the system's libraries (it checks
them itself and exits with 0).
"""
import argparse
import os
import shutil
import subprocess
import sys

PLANTED_NAMES = ("gdiplus.dll", "comctl32.dll")


def plant(folder, planted, program):
    """A copy of `program` in `folder` beside the planted DLLs; its path."""
    for name in PLANTED_NAMES:
        shutil.copyfile(planted, os.path.join(folder, name))
    copy = os.path.join(folder, os.path.basename(program))
    shutil.copyfile(program, copy)
    return copy


def run(program):
    """(exit code, output) of `program` run under Wine in its own folder; exit code None when
    it has not ended within a minute (a program that calls into a planted stand-in crashes,
    and Wine's debugger may wait). Wine would use its own (builtin) libraries even for DLLs
    lying beside a program; told to prefer native ones, it loads them from there, as Windows
    does."""
    overrides = os.environ.get("WINEDLLOVERRIDES", "")
    native_first = ";".join(filter(None, [overrides, ",".join(PLANTED_NAMES) + "=n,b"]))
    try:
        done = subprocess.run([os.environ["WINE_BIN"], program], cwd=os.path.dirname(program),
                              env=dict(os.environ, WINEDLLOVERRIDES=native_first),
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    except subprocess.TimeoutExpired as expired:
        return None, (expired.stdout or b"").decode("utf-8", "replace")
    return done.returncode, done.stdout.decode("utf-8", "replace")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--planted", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("framework_probe")
    parser.add_argument("comctl32_importer")
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    faults = []
    for program in (args.comctl32_importer, args.framework_probe):
        folder = os.path.join(args.work, os.path.splitext(os.path.basename(program))[0])
        os.makedirs(folder)
        code, output = run(plant(folder, args.planted, program))
        print(f"{os.path.basename(program)}: exit code {code}\n{output}")
        importer = program == args.comctl32_importer
        if importer and code == 0:
            faults.append("a program importing comctl32 started beside the planted comctl32.dll:"
                          " the planted DLLs do not stand where an import would take them")
        if not importer and code != 0:
            faults.append("the framework's program failed or hung beside the planted DLLs"
                          " (see above)")
    for fault in faults:
        print(f"FAULT: {fault}", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
