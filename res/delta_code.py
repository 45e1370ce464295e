#!/usr/bin/env python3
"""Delta-codes a file for the program's "ZIP" resources: every byte from the second on becomes
its difference to the byte before it (mod 256). The reader restores it with a running sum."""
import sys


def delta_code(data: bytes) -> bytes:
    out = bytearray(data)
    for i in range(len(out) - 1, 0, -1):
        out[i] = (data[i] - data[i - 1]) & 0xFF
    return bytes(out)


def main() -> int:
    if len(sys.argv) != 3:
        print("usage: delta_code.py INPUT OUTPUT", file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as source:
        data = source.read()
    with open(sys.argv[2], "wb") as target:
        target.write(delta_code(data))
    return 0


if __name__ == "__main__":
    sys.exit(main())
