"""Runs Orca with its debug file written a line at a time, so that a test reads what Orca
speaks as it speaks it (Orca's own file is block-buffered). Arguments as for orca."""
import builtins
import runpy
import sys

debug_file = sys.argv[sys.argv.index("--debug-file") + 1]
real_open = builtins.open


def line_buffered_open(file, mode="r", *args, **kwargs):
    if file == debug_file and "w" in mode:
        kwargs["buffering"] = 1
    return real_open(file, mode, *args, **kwargs)


builtins.open = line_buffered_open
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
