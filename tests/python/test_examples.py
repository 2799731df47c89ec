"""Each example script runs to its end on the data it ships with."""

import os
import subprocess
import sys
from pathlib import Path

import pytest

EXAMPLES = Path(__file__).resolve().parents[2] / "examples"


@pytest.mark.parametrize("script", sorted(p.name for p in EXAMPLES.glob("*.py")))
def test_example_runs(script, tmp_path):
    import zeva
    env = dict(os.environ, PYTHONPATH=str(Path(zeva.__file__).parent))
    done = subprocess.run([sys.executable, str(EXAMPLES / script)], cwd=tmp_path, env=env,
                          capture_output=True, text=True, timeout=120)
    assert done.returncode == 0, done.stderr
    print(done.stdout)
    if script.startswith("ves") and hasattr(zeva, "report"):
        assert (tmp_path / "ves-report.pdf").read_bytes().startswith(b"%PDF")
