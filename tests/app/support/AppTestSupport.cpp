// Shared helpers of the desktop program's QtTest suites.
