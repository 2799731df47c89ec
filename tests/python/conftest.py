"""The module under test is the build's (build/python) unless ZEVA_PYTHON_PATH
names another folder; zeva-cli, whose results the module must reproduce, is
build/cli/zeva-cli unless ZEVA_CLI names another."""

import json
import os
import subprocess
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, os.environ.get("ZEVA_PYTHON_PATH", str(ROOT / "build" / "python")))
ZEVA_CLI = os.environ.get("ZEVA_CLI", str(ROOT / "build" / "cli" / "zeva-cli"))


def run_cli(*args, check=True):
    """zeva-cli's standard output parsed as JSON when it is, and its messages."""
    done = subprocess.run([ZEVA_CLI, *map(str, args)], capture_output=True, text=True)
    if check and done.returncode != 0:
        raise AssertionError(f"zeva-cli {' '.join(map(str, args))}: {done.stderr}")
    try:
        out = json.loads(done.stdout)
    except json.JSONDecodeError:
        out = done.stdout
    return done.returncode, out, done.stderr


@pytest.fixture
def cli():
    return run_cli
