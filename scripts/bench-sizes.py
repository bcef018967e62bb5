#!/usr/bin/env python3
"""Each shipped program's size, the packed programs it carries, and its overhead (the rest), from the
32-bit build we ship.   scripts/bench-sizes.py BIN_FOLDER"""
import os
import sys
import zlib

BLOCK = 1024
# Which programs each program carries packed (as the build packs them: zlib level 9, whole 1024-byte blocks).
CARRIES = {"Install_Twinsift.exe": ["Twinsift.exe", "Uninstall.exe"], "Uninstall.exe": ["NVUninstall.exe"],
           "NVUninstall.exe": [], "Twinsift.exe": []}


def packed_size(path):
    with open(path, "rb") as program:
        stream = zlib.compress(program.read(), 9)
    return -(-len(stream) // BLOCK) * BLOCK


def main():
    folder = sys.argv[1]
    for program, carried in CARRIES.items():
        size = os.path.getsize(os.path.join(folder, program))
        packed = sum(packed_size(os.path.join(folder, inner)) for inner in carried)
        overhead = size - packed
        print(f"size        {program:<21} {size:>9,} bytes | packed programs {packed:>9,} | overhead {overhead:>9,}"
              f" ({overhead / size:.0%} of the exe)")


if __name__ == "__main__":
    main()
