#!/usr/bin/env python3
"""Runs the example sessions of the README, docs/ and the manual pages and
compares what each command prints with what the page shows.

A session is a code block (indented, fenced, or between .EX and .EE in a
manual page) whose first line starts with "$ ". Each "$ " line is a command
(a line ending in "\\" continues it); the lines after it, up to the next
"$ ", are what it prints, standard output and standard error together. A
command ending in "# output not shown: REASON" is not run. Other blocks are
not run either, but one that shows a converter command without "$ " (and is
no synopsis, with its <...> or [...]) is an error: it would escape the check.

The sessions of a page run in their order (a later one may show a file an
earlier one made) in a fresh made-up home folder, shown on the pages as
/home/me; each starts in the clone:
  /home/me/plovik            a clone: examples/ and build/bin/ with the
                             programs
  /home/me/ws                a copy of examples/workspace
and build/bin is first on the search path, so "Plovik" and
"build/bin/Plovik" both run the program under test. The real folder's path
is taken out of the output, so /home/me/... is what a page shows; a
carriage return at a line's end is dropped (the files' CRLF ends are tested
elsewhere), as are blank lines at the end of an output.

  check_pages.py --source DIR --bin DIR [PAGE...]
"""
import argparse
import difflib
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

PAGES = ["README.md", "docs/*.md", "packaging/*.1.in"]
NOT_RUN = re.compile(r"#\s*output not shown:\s*\S")
SHOWN_COMMAND = re.compile(r"^\s*(\S*/)?Plovik\s")


def markdown_blocks(text):
    """(first line number, lines) of each code block of a Markdown page."""
    lines = text.split("\n")
    i = 0
    while i < len(lines):
        if lines[i].startswith("```"):
            end = i + 1
            while end < len(lines) and not lines[end].startswith("```"):
                end += 1
            yield i + 2, lines[i + 1:end]
            i = end + 1
        elif lines[i].startswith("    ") and (i == 0 or not lines[i - 1].strip()):
            end = i
            while end < len(lines) and (lines[end].startswith("    ") or not lines[end].strip()):
                end += 1
            block = [line[4:] for line in lines[i:end]]
            while block and not block[-1].strip():
                block.pop()
            yield i + 1, block
            i = end
        else:
            i += 1


ROFF_ESCAPES = [("\\-", "-"), ("\\&", ""), ("\\e", "\\"), ("\\(dq", '"')]


def manual_blocks(text):
    lines = text.split("\n")
    start = None
    for number, line in enumerate(lines, 1):
        if line == ".EX":
            start, block = number + 1, []
        elif line == ".EE" and start is not None:
            yield start, block
            start = None
        elif start is not None and not line.startswith("."):
            for escape, plain in ROFF_ESCAPES:
                line = line.replace(escape, plain)
            block.append(line)


def sessions(block):
    """The commands of a session block: each with its offset in the block
    and the output it shows."""
    commands = []
    lines = iter(enumerate(block))
    for offset, line in lines:
        if line.startswith("$ "):
            command = line[2:]
            while command.endswith("\\"):
                command += "\n" + next(lines, (0, ""))[1]
            commands.append((command, [], offset))
        elif commands:
            commands[-1][1].append(line)
    return commands


def make_home(root, source, bin_dir):
    home = os.path.join(root, "home", "me")
    clone = os.path.join(home, "plovik")
    shutil.copytree(os.path.join(source, "examples"), os.path.join(clone, "examples"))
    shutil.copytree(os.path.join(source, "examples", "workspace"), os.path.join(home, "ws"))
    os.makedirs(os.path.join(clone, "build", "bin"))
    for program in ("Plovik", "Vaskel"):
        if os.path.exists(os.path.join(bin_dir, program)):
            os.symlink(os.path.join(bin_dir, program), os.path.join(clone, "build", "bin", program))
    return home, clone


def run_page(blocks, source, bin_dir):
    """What each command of a page's sessions printed, run in order in one
    made-up home folder (a page may show a file an earlier session made);
    each session starts in the clone."""
    root = os.path.realpath(tempfile.mkdtemp(prefix="plovik-pages-"))
    try:
        home, clone = make_home(root, source, bin_dir)
        marker = "@@command-%d@@"
        script, number = ["exec 2>&1"], 0
        for commands in blocks:
            script.append("cd " + clone)
            for command in commands:
                # On a line of its own, also after output without a last line feed.
                script += ["echo; echo " + marker % number, command]
                number += 1
        env = dict(os.environ, HOME=home, LC_ALL="C.UTF-8",
                   PATH=os.path.join(clone, "build", "bin") + os.pathsep + os.environ["PATH"])
        result = subprocess.run(["bash", "-c", "\n".join(script)], env=env, cwd=clone,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, timeout=300)
        output = result.stdout.decode("utf-8", "replace").replace(root, "")
        printed = re.split(r"^@@command-\d+@@\n", output, flags=re.M)[1:]
        return [trimmed(line.rstrip("\r") for line in text.split("\n")) for text in printed]
    finally:
        shutil.rmtree(root, ignore_errors=True)


def trimmed(lines):
    lines = list(lines)
    while lines and not lines[-1].strip():
        lines.pop()
    return lines


def unchecked_commands(page, line, block):
    """A converter command in a block that is no session escapes the check."""
    return [f"{page}:{line + n}: a converter command shown without \"$ \": {text.strip()}"
            for n, text in enumerate(block)
            if SHOWN_COMMAND.match(text) and not re.search(r"<|\[|\.\.\.", text)]


def check_page(page, blocks, source, bin_dir):
    """The differences between a page's sessions and what their commands print."""
    errors, sessions_run = [], []
    for line, block in blocks:
        if block and block[0].startswith("$ "):
            commands = [c for c in sessions(block) if not NOT_RUN.search(c[0])]
            sessions_run.append((line, commands))
        else:
            errors += unchecked_commands(page, line, block)
    printed = iter(run_page([[c[0] for c in commands] for _, commands in sessions_run],
                            source, bin_dir))
    for line, commands in sessions_run:
        for command, shown, offset in commands:
            got = next(printed, [])
            if trimmed(shown) != got:
                diff = difflib.unified_diff(trimmed(shown), got, "shown on the page", "printed",
                                            lineterm="")
                errors.append(f"{page}:{line + offset}: in the session at line {line}, "
                              f"`{command.splitlines()[0]}` prints otherwise:\n  " +
                              "\n  ".join(diff))
    return errors, len(sessions_run)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--bin", required=True)
    parser.add_argument("pages", nargs="*")
    args = parser.parse_args()
    source, bin_dir = os.path.realpath(args.source), os.path.realpath(args.bin)
    pages = args.pages or sorted(
        os.path.relpath(p, source) for pattern in PAGES
        for p in glob.glob(os.path.join(source, pattern)))
    errors, checked = [], 0
    for page in pages:
        with open(os.path.join(source, page), encoding="utf-8") as f:
            text = f.read()
        blocks = manual_blocks(text) if page.endswith(".1.in") else markdown_blocks(text)
        page_errors, page_sessions = check_page(page, list(blocks), source, bin_dir)
        errors += page_errors
        checked += page_sessions
    for error in errors:
        print(error)
    print(f"{checked} sessions in {len(pages)} pages, {len(errors)} differences")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
