#!/usr/bin/env python3
"""Reads callgrind profiles and prints, for each, the instructions of the whole profile and the
calls and inclusive instructions of the functions named on the command line.

    callgrind-costs.py PROFILE... -f FUNCTION-PREFIX [-f FUNCTION-PREFIX...]

One line per profile: total=N, then for each function prefix calls=N and ir=N, tab-separated.
A function matches when its name starts with the prefix; the costs of calls from one matching
function into another (recursion) are not counted twice.
"""

import argparse
import re
import sys

NAME = re.compile(r"\((\d+)\)(?: (.*))?")


def compressed(names, text):
    """Resolves callgrind's "(id) name" compression."""
    match = NAME.fullmatch(text.strip())
    if not match:
        return text.strip()
    if match.group(2) is not None:
        names[match.group(1)] = match.group(2)
    return names.get(match.group(1), text.strip())


def read_profile(path, prefixes):
    names = {}
    total = 0
    costs = {p: [0, 0] for p in prefixes}
    caller = ""
    callee = ""
    pending_calls = None
    with open(path, encoding="utf-8", errors="replace") as profile:
        for line in profile:
            line = line.rstrip("\n")
            if line.startswith("fn="):
                caller = compressed(names, line[3:])
            elif line.startswith("cfn="):
                callee = compressed(names, line[4:])
            elif line.startswith("calls="):
                pending_calls = int(line[6:].split()[0])
            elif line.startswith("summary:"):
                total = int(line.split()[1])
            elif pending_calls is not None and line and (line[0].isdigit() or line[0] in "+-*"):
                inclusive = int(line.split()[1]) if len(line.split()) > 1 else 0
                for prefix in costs:
                    if callee.startswith(prefix) and not caller.startswith(prefix):
                        costs[prefix][0] += pending_calls
                        costs[prefix][1] += inclusive
                pending_calls = None
    return total, costs


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("profiles", nargs="+")
    parser.add_argument("-f", "--function", action="append", default=[])
    args = parser.parse_args()
    for path in args.profiles:
        total, costs = read_profile(path, args.function)
        fields = [f"total={total}"]
        for prefix in args.function:
            calls, inclusive = costs[prefix]
            fields.append(f"calls={calls}\tir={inclusive}")
        print("\t".join(fields))
    return 0


if __name__ == "__main__":
    sys.exit(main())
