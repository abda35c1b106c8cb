#!/usr/bin/env python3
"""The command line's contract is written in four places: --help, the man
page, README.md and the Windows zip's README.txt. Each command's synopsis
must name the same options in all four.

  synopses_agree.py --cli PROGRAM --root SOURCE_FOLDER

--help only prints text: no socket is opened.
"""
import argparse
import os
import re
import subprocess
import sys

COMMANDS = ["search", "set", "plan", "watch"]
OPTION = re.compile(r"--[a-z][a-z-]*")


def from_help(cli, command):
    text = subprocess.run([cli, command, "--help"], check=True,
                          capture_output=True, text=True).stdout
    return text.split("\n\n", 1)[0]


def from_man(root, command):
    text = open(os.path.join(root, "packaging/debian/quellan-cli.1")).read()
    synopsis = text.split(".SH SYNOPSIS", 1)[1].split(".SH", 1)[0]
    for block in synopsis.split(".br"):
        if block.strip().startswith(".B quellan-cli " + command):
            return block.replace("\\-", "-")
    return ""


def from_readme(root, name, indent, command):
    """The synopsis line and the lines of brackets below it."""
    lines = open(os.path.join(root, name)).read().splitlines()
    start = indent + "quellan-cli " + command
    for i, line in enumerate(lines):
        if line == start or line.startswith(start + " "):
            block = [line]
            for more in lines[i + 1:]:
                if not more.startswith(indent) or \
                        not more.strip().startswith("["):
                    break
                block.append(more)
            return "\n".join(block)
    return ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    failed = False
    for command in COMMANDS:
        places = {
            "--help": from_help(args.cli, command),
            "man page": from_man(args.root, command),
            "README.md": from_readme(args.root, "README.md", "    ", command),
            "README.txt": from_readme(args.root,
                                      "packaging/windows/README.txt", "  ",
                                      command),
        }
        names = {place: set(OPTION.findall(text))
                 for place, text in places.items()}
        want = names["--help"]
        failed = failed or not want
        for place, found in names.items():
            if found != want:
                failed = True
                print(f"{command}: {place} differs from --help: lacks "
                      f"{sorted(want - found)}, adds {sorted(found - want)}")
    print("synopses differ" if failed else "synopses agree")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
