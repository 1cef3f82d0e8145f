"""Runs every case_* function of one end-to-end case file against huebrick.exe.

usage: run_case.py CASE_FILE HUEBRICK_EXE [TEST_WINDOW_EXE]
HUEBRICK_CASE=text runs only the cases whose name holds the text."""

import importlib.util
import os
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


def main():
    case_file, exe = sys.argv[1], sys.argv[2]
    if len(sys.argv) > 3:
        harness.TEST_WINDOW_EXE = sys.argv[3]
    loader = importlib.util.spec_from_file_location("case", case_file)
    module = importlib.util.module_from_spec(loader)
    loader.loader.exec_module(module)
    cases = [(name, getattr(module, name)) for name in dir(module) if name.startswith("case_")]
    cases.sort(key=lambda c: c[1].__code__.co_firstlineno)
    only = os.environ.get("HUEBRICK_CASE")
    if only:
        cases = [c for c in cases if only in c[0]]
    passed = failed = 0
    for name, case in cases:
        harness.reset_settings()
        programs = []
        harness.started.clear()

        def launch(expect_window=True):
            p = harness.Program(exe).start(expect_window)
            programs.append(p)
            return p

        start = time.monotonic()
        try:
            case(launch)
            print("PASS %s (%.1f s)" % (name, time.monotonic() - start))
            passed += 1
        except Exception:
            print("FAIL %s" % name)
            traceback.print_exc(file=sys.stdout)
            try:
                print("  screenshot: " + harness.screenshot("failed-" + name))
            except Exception:
                pass
            failed += 1
        finally:
            for p in programs + harness.started:
                p.stop()
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
