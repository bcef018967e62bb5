#!/usr/bin/env python3
"""Where a program's bytes go, from its linker map: the input sections kept in the image, summed by the
library (or our own object folder) they came from.
  scripts/size-report.py MAP [MAP...]      (maps lie beside the programs in build/windows/bin)"""
import collections
import re
import sys

SECTION = re.compile(r"^ (\.\S+|COMMON)?\s*(0x[0-9a-f]+)\s+(0x[0-9a-f]+)\s+(\S.*)$")


def origin(source):
    archive = re.match(r"(.*/)?([^/(]+\.a)\((.*)\)$", source)
    if archive:
        return archive.group(2)
    if "/twinsift_runtime.dir/" in source:
        return "our runtime"
    if "/src/" in source or "/payloads/" in source:
        return "our code"
    return source.rsplit("/", 1)[-1]


def sizes(path):
    totals = collections.Counter()
    in_memory_map = False
    pending = None
    with open(path, errors="replace") as lines:
        for line in lines:
            if line.startswith("Linker script and memory map"):
                in_memory_map = True
                continue
            if not in_memory_map:
                continue
            # A long section name stands alone on its line; its address, size and source follow on the next.
            if re.match(r"^ \.\S+\s*$", line):
                pending = line.strip()
                continue
            match = SECTION.match(line)
            if match and (match.group(1) or pending):
                name = match.group(1) or pending
                size = int(match.group(3), 16)
                if size and not name.startswith((".debug", ".stab")) and not match.group(4).startswith("load address"):
                    totals[origin(match.group(4).strip())] += size
            pending = None
    return totals


def main():
    for path in sys.argv[1:]:
        totals = sizes(path)
        print(f"{path}: {sum(totals.values()):,} bytes of input sections")
        for name, size in totals.most_common(12):
            print(f"  {size:>9,}  {name}")


if __name__ == "__main__":
    main()
