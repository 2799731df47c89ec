#!/usr/bin/env python3
"""Lists the long functions of the production code.

A brace-counting scan, not a compiler: comments, strings and preprocessor lines
are blanked, then every brace at namespace or class level whose heading carries
a parameter list opens a function body. A function's length runs from the first
line of its heading to its closing brace. A function over the limit counts as
explained when the comment just above it says why it is long (contains "long").

    scripts/long_functions.py                 summary and the functions over 80 lines
    scripts/long_functions.py --limit 60      another limit
    scripts/long_functions.py --top 20        the twenty longest, whatever their length
"""

import argparse
import re
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
PRODUCTION = ("core", "forward", "inversion", "files", "settings", "present", "ui", "cli", "app")
SUFFIXES = {".cpp", ".h", ".c"}

TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|R"(?P<d>[^(\s]*)\(.*?\)(?P=d)"|"(?:\\.|[^"\\\n])*"'
                   r"|'(?:\\.|[^'\\\n])*'", re.S)
SCOPE_KEYWORD = re.compile(r"^(?:\[\[[^\]]*\]\]\s*)*(?:template\s*<.*?>\s*)?"
                           r"(?:(?:typedef|export)\s+)?(class|struct|union|enum|namespace|extern)\b", re.S)
ACCESS = re.compile(r"\b(?:public|protected|private|signals|public\s+slots|private\s+slots|"
                    r"protected\s+slots|Q_SLOTS|Q_SIGNALS)\s*:(?!:)")
TRAILING_WORDS = {"const", "override", "final", "noexcept", "mutable", "try", "volatile"}


def blank(text):
    """Comments, strings and preprocessor lines replaced by spaces, lines kept."""
    def keep_lines(match):
        return re.sub(r"[^\n]", " ", match.group(0))
    text = TOKEN.sub(keep_lines, text)
    return re.sub(r"^[ \t]*#(?:[^\n]*\\\n)*[^\n]*", keep_lines, text, flags=re.M)


def top_level_paren(segment):
    """Index of the first '(' not inside template angle brackets, or -1."""
    depth = 0
    for i, c in enumerate(segment):
        if c == "<":
            depth += 1
        elif c == ">" and depth:
            depth -= 1
        elif c == "(" and depth == 0:
            return i
    return -1


def function_name(segment):
    paren = top_level_paren(segment)
    head = segment[:paren].rstrip()
    if head.endswith("operator") and segment[paren:paren + 2] == "()":
        head += "()"  # the call operator: its name holds the first parentheses
    match = re.search(r"((?:[\w~]+(?:<[^()]*?>)?\s*::\s*)*(?:operator\s*(?:\(\)|[^\s(]+)|~?\w+))$",
                      head)
    return re.sub(r"\s+", "", match.group(1)) if match else head[-40:]


def classify(segment):
    """'scope', 'function' or 'other' for the heading before a brace."""
    heading = ACCESS.sub(" ", segment).strip()
    if SCOPE_KEYWORD.match(heading):
        return "scope"
    paren = top_level_paren(heading)
    if paren < 0 or "=" in heading[:paren].replace("operator", "").replace("==", ""):
        return "other"
    tail = heading.rstrip()
    last_close = tail.rfind(")")
    if "->" in tail[last_close:]:
        return "function"
    word = re.search(r"(\w+)$", tail)
    if word and word.group(1) not in TRAILING_WORDS:
        return "other"  # a member or variable brace initialiser
    return "function"


def functions(path):
    text = blank(path.read_text(errors="replace"))
    original = path.read_text(errors="replace").split("\n")
    stack = []  # kinds of the open braces
    segment_start = 0
    found = []
    line_of = [0] * (len(text) + 1)
    line = 1
    for i, c in enumerate(text):
        line_of[i] = line
        if c == "\n":
            line += 1
    for i, c in enumerate(text):
        in_scope = all(kind == "scope" for kind, _ in stack)
        if c == ";" and in_scope:
            segment_start = i + 1
        elif c == "{":
            if in_scope:
                segment = text[segment_start:i]
                kind = classify(segment)
                if kind == "other":
                    stack.append(("other-scope", None))
                    continue
                start = segment_start + len(segment) - len(segment.lstrip())
                stack.append((kind, (start, function_name(segment) if kind == "function" else "")))
                segment_start = i + 1
            else:
                stack.append(("inner", None))
        elif c == "}" and stack:
            kind, info = stack.pop()
            if kind == "function":
                start, name = info
                first, last = line_of[start], line_of[i]
                above = first - 2
                comment = []
                while above >= 0 and original[above].strip().startswith("//"):
                    comment.append(original[above])
                    above -= 1
                explained = any("long" in line.lower() for line in comment)
                found.append((last - first + 1, name, first, explained))
            if kind in ("function", "scope"):
                segment_start = i + 1
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    parser.add_argument("--limit", type=int, default=80)
    parser.add_argument("--top", type=int, default=0)
    args = parser.parse_args()
    rows = []
    for folder in PRODUCTION:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix in SUFFIXES and "build" not in path.relative_to(ROOT).parts:
                for length, name, line, explained in functions(path):
                    rows.append((length, name, f"{path.relative_to(ROOT)}:{line}", explained))
    rows.sort(key=lambda r: (-r[0], r[2]))
    shown = rows[:args.top] if args.top else [r for r in rows if r[0] > args.limit]
    for length, name, where, explained in shown:
        print(f"{length:5d}  {name:45s} {where}{'  (explained)' if explained else ''}")
    over = [r for r in rows if r[0] > args.limit]
    unexplained = [r for r in over if not r[3]]
    longest = rows[0] if rows else (0, "-", "-", False)
    print(f"{len(rows)} functions; longest {longest[1]} {longest[0]} lines ({longest[2]}); "
          f"{len(over)} over {args.limit} lines, {len(unexplained)} of them without a reason")
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
