"""The Python chapter of the guide and the Python examples are run, not only read."""
import os
import re
import subprocess
import sys

import pytest

from conftest import SOURCE_DIR

GUIDE = SOURCE_DIR / "docs" / "python.md"
EXAMPLES = sorted((SOURCE_DIR / "examples" / "python").glob("*.py"))


def test_guide_code_runs(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)  # the chapter writes its files where it runs
    text = GUIDE.read_text(encoding="utf-8")
    blocks = [(text.count("\n", 0, m.start()) + 2, m.group(1)) for m in re.finditer(r"```python\n(.*?)```", text, re.S)]
    assert len(blocks) >= 5
    namespace = {"__name__": "guide"}
    for line, code in blocks:
        # Each block runs where it stands in the file, so a failure points at its line.
        exec(compile("\n" * (line - 1) + code, str(GUIDE), "exec"), namespace)


@pytest.mark.parametrize("example", EXAMPLES, ids=[e.name for e in EXAMPLES])
def test_example_runs(example, tmp_path):
    result = subprocess.run([sys.executable, str(example)], cwd=tmp_path, env=dict(os.environ),
                            capture_output=True, text=True, timeout=120)
    assert result.returncode == 0, result.stdout + result.stderr
    assert result.stdout.strip()
