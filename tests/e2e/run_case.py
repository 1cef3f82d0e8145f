"""Runs the case_* functions of one end-to-end file against huebrick.exe, each on an empty registry
key, and ends what a case left running. HUEBRICK_CASE=text runs only the cases whose name holds it.

usage: run_case.py CASE_FILE HUEBRICK_EXE TEST_WINDOW_EXE"""

import os
import runpy
import sys
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


harness.EXE, harness.TEST_WINDOW_EXE = sys.argv[2:4]
failed = 0
for _, name, case in sorted((f.__code__.co_firstlineno, name, f) for name, f in runpy.run_path(sys.argv[1]).items()
                            if name.startswith("case_") and os.environ.get("HUEBRICK_CASE", "") in name):
    harness.run("wine", "reg", "delete", harness.KEY, "/f", check=False)
    harness.dpi(96)
    harness.keep_desktop()      # logoff and a change of display end it
    try:
        case()
        print("PASS " + name)
    except harness.Skipped as reason:
        print("SKIP %s under Wine %s: %s" % (name, harness.WINE, reason))
    except Exception:
        failed += 1
        traceback.print_exc(file=sys.stdout)
        print("FAIL %s, screenshot %s" % (name, harness.screenshot("failed-" + name)))
    for p in harness.started:
        p.stop()
    harness.started.clear()
sys.exit(1 if failed else 0)
