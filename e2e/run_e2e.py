"""Runs every end-to-end test against the installer's 64-bit twin under Xvfb and wine64.

Usage, from the repository root after the builds: python3 e2e/run_e2e.py [-k PATTERN]
Screens the tests visit are saved under build/e2e/screens/. The last line is the summary,
"e2e: N passed, N failed, N skipped"; the exit status is non-zero when a test failed or none ran.
"""

import argparse
import glob
import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
# The source tree stays clean: no __pycache__ beside the tests.
sys.dont_write_bytecode = True

import kw  # noqa: E402
import wizard  # noqa: E402


class CountingResult(unittest.TextTestResult):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.passed = 0

    def addSuccess(self, test):
        super().addSuccess(test)
        self.passed += 1


def failed_tests(result):
    """The tests that failed; a test with several failing cases counts once."""
    return {getattr(test, "test_case", test).id() for test, _ in result.failures + result.errors}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-k", dest="patterns", action="append",
                        help="run only tests whose name contains this text")
    args = parser.parse_args()

    for path, what in ((kw.INSTALLER, "the installer's 64-bit twin"), (kw.DRIVER, "the driver")):
        if not os.path.isfile(path):
            print("e2e: %s is missing (%s); run `make build` first" % (what, path))
            print("e2e: 0 passed, 1 failed, 0 skipped")
            return 1

    loader = unittest.TestLoader()
    if args.patterns:
        loader.testNamePatterns = ["*%s*" % p for p in args.patterns]
    suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)

    os.makedirs(kw.SCREENS, exist_ok=True)
    for old in glob.glob(os.path.join(kw.SCREENS, "*.png")):
        os.remove(old)

    kw.install_signal_handlers()
    environment = kw.Environment()
    started = time.monotonic()
    result = None
    try:
        environment.start()
        wizard.ENVIRONMENT = environment
        print("e2e: display %s, Wine prefix ready in %.1f s" % (environment.display,
                                                                 time.monotonic() - started))
        runner = unittest.TextTestRunner(stream=sys.stdout, verbosity=2, resultclass=CountingResult)
        result = runner.run(suite)
    except KeyboardInterrupt:
        print("e2e: interrupted")
    finally:
        environment.stop()

    if result is None:
        print("e2e: 0 passed, 1 failed, 0 skipped")
        return 1
    failed = len(failed_tests(result)) + len(result.unexpectedSuccesses)
    skipped = len(result.skipped)
    print("screens: %s" % kw.SCREENS)
    print("e2e: %d passed, %d failed, %d skipped" % (result.passed, failed, skipped))
    return 0 if failed == 0 and result.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
