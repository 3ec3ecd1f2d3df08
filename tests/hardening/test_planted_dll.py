#!/usr/bin/python3
"""Plant fake system DLLs beside the program and show that it never loads them.

    test_planted_dll.py --app EXE --probe EXE --fake DLL --work DIR [--plant NAME.dll]...

Creating the browser control brings system DLLs into the program at run time,
after its entry has restricted the DLL search to the system directory.  A copy
of the fake DLL under each of those names goes into a fresh directory with the
executable, which is run there (also its current directory) with Wine told to
prefer a native DLL of those names wherever it finds one.  Loading a fake
leaves <name>.loaded beside it and fails the load.

The restriction cannot cover what is loaded before the entry runs, nor what
Wine's own DLLs load through their delay imports, which Wine resolves with the
default search order: a fake uxtheme.dll or msimg32.dll is picked up that way.
--plant adds such names to a run.

The probe is the control: left with the default search order it must pick up
every fake, and with the search restricted as the program restricts it, none.

Each case is judged on its exit status, the markers, and Wine's own record of
the modules the process loaded (WINEDEBUG=+loaddll), which also shows that the
DLLs in question really were loaded, from the system directory.

Wine runs in a session of tests/wine/session.sh: a private network namespace
with its own display, ended afterwards.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

HERE = Path(__file__).resolve().parent
SESSION = HERE.parent / "wine" / "session.sh"
WINE = "/usr/lib/wine/wine64"

# The first three are what creating the control loads.  The others are loaded by
# Wine's helper processes, not by the program; they stay so a later use is covered.
PLANTED = ["ieframe.dll", "urlmon.dll", "wininet.dll", "propsys.dll", "windowscodecs.dll",
           "iphlpapi.dll", "dnsapi.dll", "actxprxy.dll"]


@dataclass
class Case:
    name: str
    exe: str              # "app" or "probe"
    args: list
    gui: bool             # closed with Escape once the browser control exists
    picks_up_fakes: bool  # every fake leaves a marker, or none does
    exit_code: int
    from_system: list     # DLLs the process must have loaded from the system directory


def cases(planted):
    return [
        Case("program", "app", [], gui=True, picks_up_fakes=False, exit_code=0,
             from_system=["ieframe.dll", "urlmon.dll", "wininet.dll"]),
        Case("probe, search restricted as the program restricts it", "probe", ["--restricted", *planted],
             gui=False, picks_up_fakes=False, exit_code=0, from_system=planted),
        # Each fake refuses to load, so the probe exits 1.
        Case("probe, default search order (control)", "probe", planted,
             gui=False, picks_up_fakes=True, exit_code=1, from_system=[]),
    ]


READY_TIMEOUT = 60   # seconds until the browser control's DLL shows up
SETTLE = 3           # seconds more for the control to be activated in place
CLOSE_TIMEOUT = 15
PROBE_TIMEOUT = 60

LOADED = re.compile(r'^([0-9a-f]+):[0-9a-f]+:trace:loaddll:\w+ Loaded L"(.*?)" at \S+: (\w+)')


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def modules_of(log, exe_path):
    """(path, kind) of each module Wine loaded into the process started from exe_path."""
    loads = []
    for line in log.splitlines():
        m = LOADED.match(line)
        if m:
            loads.append((m.group(1), m.group(2).replace("\\\\", "\\"), m.group(3)))
    pids = {pid for pid, path, _ in loads if path.lower() == windows_path(exe_path).lower()}
    return [(path, kind) for pid, path, kind in loads if pid in pids]


def run_case(case, exe, log_path):
    env = dict(os.environ, WINEDEBUG="-all,+pid,+loaddll")
    with open(log_path, "w") as log:
        proc = subprocess.Popen([WINE, exe.name, *case.args], cwd=exe.parent, env=env,
                                stdout=subprocess.DEVNULL, stderr=log)
    trouble = []
    try:
        if case.gui:
            deadline = time.monotonic() + READY_TIMEOUT
            while proc.poll() is None and time.monotonic() < deadline:
                loaded = [p for p, _ in modules_of(log_path.read_text(errors="replace"), exe)]
                if any(p.lower().endswith("\\ieframe.dll") for p in loaded):
                    break
                time.sleep(0.2)
            else:
                if proc.poll() is None:
                    trouble.append(f"the browser control was not created within {READY_TIMEOUT} s")
            time.sleep(SETTLE)
            # Escape closes the main window; it also answers an error box, if one came up.
            for _ in range(2):
                if proc.poll() is not None:
                    break
                subprocess.run(["xdotool", "key", "Escape"], check=False)
                try:
                    proc.wait(CLOSE_TIMEOUT)
                except subprocess.TimeoutExpired:
                    pass
            if proc.poll() is None:
                trouble.append("did not close on Escape")
        else:
            try:
                proc.wait(PROBE_TIMEOUT)
            except subprocess.TimeoutExpired:
                trouble.append(f"still running after {PROBE_TIMEOUT} s")
    finally:
        if proc.poll() is None:
            proc.kill()
        proc.wait()
    return proc.returncode, trouble


def judge(case, planted, case_dir, exe, rc, trouble, log):
    problems = list(trouble)
    if rc != case.exit_code:
        problems.append(f"exit code {rc}, expected {case.exit_code}")

    markers = {p.name[:-len(".loaded")]: p.read_text(errors="replace").strip()
               for p in case_dir.glob("*.loaded")}
    expected_markers = set(planted) if case.picks_up_fakes else set()
    for name in sorted(set(markers) - expected_markers):
        problems.append(f"fake {name} was loaded by {markers[name] or 'an unknown process'}")
    for name in sorted(expected_markers - set(markers)):
        problems.append(f"fake {name} was not loaded")

    modules = modules_of(log, exe)
    if not modules:
        problems.append("Wine recorded no modules for the process")
    dir_prefix = windows_path(case_dir).lower() + "\\"
    from_dir = {p.rsplit("\\", 1)[-1].lower() for p, _ in modules
                if p.lower().startswith(dir_prefix) and p.lower() != windows_path(exe).lower()}
    expected_from_dir = set(planted) if case.picks_up_fakes else set()
    for name in sorted(from_dir - expected_from_dir):
        problems.append(f"{name} was loaded from the program's directory")
    for name in sorted(expected_from_dir - from_dir):
        problems.append(f"{name} was not loaded from the program's directory")
    system = "c:\\windows\\system32\\"
    from_system = {p.rsplit("\\", 1)[-1].lower() for p, _ in modules if p.lower().startswith(system)}
    for name in case.from_system:
        if name not in from_system:
            problems.append(f"{name} was not loaded from the system directory")
    return problems


def planted_names(args):
    return PLANTED + [n.lower() for n in args.plant if n.lower() not in PLANTED]


def inside(args):
    sources = {"app": Path(args.app), "probe": Path(args.probe)}
    shutil.rmtree(args.work, ignore_errors=True)
    planted = planted_names(args)
    results = []
    for i, case in enumerate(cases(planted)):
        case_dir = args.work / f"case{i}"
        case_dir.mkdir(parents=True)
        exe = case_dir / sources[case.exe].name
        shutil.copy2(sources[case.exe], exe)
        for name in planted:
            shutil.copy2(args.fake, case_dir / name)
        log_path = args.work / f"case{i}.loaddll.log"
        rc, trouble = run_case(case, exe, log_path)
        problems = judge(case, planted, case_dir, exe, rc, trouble, log_path.read_text(errors="replace"))
        print(f"{'ok  ' if not problems else 'FAIL'} {case.name}")
        for p in problems:
            print(f"     {p}")
        results.append(not problems)
    return 0 if all(results) else 1


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--fake", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("--plant", action="append", default=[], metavar="NAME.dll",
                        help="plant a fake under this name too")
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args(argv)
    args.work = args.work.resolve()
    if args.inside:
        return inside(args)

    overrides = ",".join(n[:-len(".dll")] for n in planted_names(args)) + "=n,b"
    sys.stdout.flush()
    return subprocess.run([str(SESSION), "--overrides", overrides, "--",
                           sys.executable, str(Path(__file__).resolve()), "--inside", *argv]).returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
