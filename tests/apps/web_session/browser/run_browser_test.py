"""Runs one browser test file with unittest; exits 77 (CTest: skipped) when
every test in it was skipped, so a missing browser shows as skipped."""
import os
import runpy
import sys
import unittest

path = sys.argv[1]
sys.path.insert(0, os.path.dirname(path))
module = runpy.run_path(path, run_name="browser_test")
suite = unittest.TestSuite()
loader = unittest.TestLoader()
for value in module.values():
    if isinstance(value, type) and issubclass(value, unittest.TestCase):
        suite.addTests(loader.loadTestsFromTestCase(value))
result = unittest.TextTestRunner(verbosity=2).run(suite)
if not result.wasSuccessful():
    sys.exit(1)
# A class skipped in its set-up counts as one skip and no test run.
sys.exit(77 if result.skipped and result.testsRun <= len(result.skipped) else 0)
