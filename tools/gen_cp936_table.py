#!/usr/bin/env python3
"""Generates src/text/cp936_table.cc from the published best-fit table of
code page 936 (bestfit936.txt).

Usage: tools/gen_cp936_table.py BESTFIT936_TXT [OUTPUT_CC]

The input is read as bytes and split on LF only: its comments hold raw code
page 936 bytes, some of which other line-break rules would split on.
Everything after ';' is a comment, numbers are 0x-hex, and each DBCSTABLE
block belongs to the next lead byte of the DBCSRANGE.

The output holds four arrays whose layout src/text/cp936_table.h declares:
  kEncodeIndex / kEncodeBlocks  UTF-16 unit -> code page bytes, a two-level
                                page table of 64-unit blocks with identical
                                blocks shared; best-fit entries included and
                                unmapped units holding the default character.
  kDecodeSingle                 byte -> Unicode for single-byte characters.
  kDecodeDouble                 (lead, trail) -> Unicode, leads 81..FE by
                                trails 40..FE.
Entries with no character hold 0xFFFF, which no entry of the table uses.
"""

import sys

BLOCK_BITS = 6
BLOCK_SIZE = 1 << BLOCK_BITS
LEAD_FIRST, LEAD_LAST = 0x81, 0xFE
TRAIL_FIRST, TRAIL_LAST = 0x40, 0xFE
NO_CHAR = 0xFFFF


class Table:
    def __init__(self):
        self.default_char = None
        self.single = {}  # byte -> Unicode
        self.double = {}  # (lead << 8 | trail) -> Unicode
        self.wide = {}  # Unicode -> byte or (lead << 8 | trail)
        self.lead_bytes = []


def fail(message):
    sys.exit(f"gen_cp936_table: {message}")


def parse(data):
    table = Table()
    section = None
    pending_leads = []
    lead = None
    for number, raw in enumerate(data.split(b"\n"), start=1):
        fields = raw.split(b";", 1)[0].split()
        if not fields:
            continue
        keyword = fields[0].decode("ascii")
        if keyword == "CODEPAGE":
            if fields[1] != b"936":
                fail(f"line {number}: not code page 936")
        elif keyword == "CPINFO":
            table.default_char = int(fields[2], 16)
        elif keyword in ("MBTABLE", "DBCSRANGE", "WCTABLE"):
            section = keyword
        elif keyword == "DBCSTABLE":
            if not pending_leads:
                fail(f"line {number}: DBCSTABLE without a lead byte left in DBCSRANGE")
            section, lead = keyword, pending_leads.pop(0)
        elif keyword == "ENDCODEPAGE":
            section = None
        else:
            if len(fields) < 2:
                fail(f"line {number}: expected two numbers")
            key, value = int(fields[0], 16), int(fields[1], 16)
            if section == "MBTABLE":
                table.single[key] = value
            elif section == "DBCSRANGE":
                leads = list(range(key, value + 1))
                pending_leads += leads
                table.lead_bytes += leads
            elif section == "DBCSTABLE":
                table.double[lead << 8 | key] = value
            elif section == "WCTABLE":
                if key in table.wide:
                    fail(f"line {number}: U+{key:04X} mapped twice")
                table.wide[key] = value
            else:
                fail(f"line {number}: entry outside any table")
    return table


def check_layout(table):
    """Stops when the data does not fit the layout that cp936_table.h declares."""
    if table.default_char is None or table.default_char >= 0x80:
        fail("CPINFO must give a single-byte default character")
    if table.lead_bytes != list(range(LEAD_FIRST, LEAD_LAST + 1)):
        fail("lead bytes must be exactly 81..FE")
    for code, unicode in table.double.items():
        if not TRAIL_FIRST <= (code & 0xFF) <= TRAIL_LAST:
            fail(f"trail byte of {code:04X} outside 40..FE")
        if unicode in (0, NO_CHAR):
            fail(f"pair {code:04X} maps to a reserved value")
    for byte, unicode in table.single.items():
        if byte >= 0x100 or unicode == NO_CHAR or byte in table.lead_bytes:
            fail(f"single byte {byte:02X} does not fit")
    for unicode, code in table.wide.items():
        if unicode > 0xFFFF or code == NO_CHAR:
            fail(f"WCTABLE entry U+{unicode:04X} does not fit")


def encode_tables(table):
    index, blocks, block_numbers = [], [], {}
    for first in range(0, 0x10000, BLOCK_SIZE):
        block = tuple(table.wide.get(u, table.default_char) for u in range(first, first + BLOCK_SIZE))
        if block not in block_numbers:
            block_numbers[block] = len(blocks)
            blocks.append(block)
        index.append(block_numbers[block])
    return index, [value for block in blocks for value in block]


def decode_tables(table):
    single = [table.single.get(b, NO_CHAR) for b in range(0x100)]
    double = [
        table.double.get(lead << 8 | trail, NO_CHAR)
        for lead in range(LEAD_FIRST, LEAD_LAST + 1)
        for trail in range(TRAIL_FIRST, TRAIL_LAST + 1)
    ]
    return single, double


def c_array(name, values, size_expression):
    lines = [f"const std::uint16_t {name}[{size_expression}] = {{"]
    for start in range(0, len(values), 16):
        lines.append("    " + ",".join(f"0x{v:x}" for v in values[start:start + 16]) + ",")
    lines.append("};")
    return "\n".join(lines)


def render(table):
    index, blocks = encode_tables(table)
    single, double = decode_tables(table)
    exact = set(table.single.values()) | set(table.double.values())
    best_fit = sum(1 for u in table.wide if u not in exact)
    parts = [
        "// generated by tools/gen_cp936_table.py from bestfit936.txt, do not edit.",
        f"// {len(table.wide)} Unicode -> code page entries ({best_fit} of them best fit) in "
        f"{len(blocks) // BLOCK_SIZE} shared blocks;",
        f"// {len(table.single)} single-byte and {len(table.double)} double-byte characters.",
        "",
        '#include "text/cp936_table.h"',
        "",
        "namespace zelmora::cp936 {",
        "",
        c_array("kEncodeIndex", index, "kEncodeIndexSize"),
        "",
        c_array("kEncodeBlocks", blocks, str(len(blocks))),
        "",
        c_array("kDecodeSingle", single, "256"),
        "",
        c_array("kDecodeDouble", double, "kDecodeDoubleSize"),
        "",
        "}  // namespace zelmora::cp936",
        "",
    ]
    return "\n".join(parts)


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__.split("\n\n")[1])
    with open(argv[1], "rb") as source:
        table = parse(source.read())
    check_layout(table)
    text = render(table)
    if len(argv) == 3:
        with open(argv[2], "w", encoding="ascii", newline="\n") as output:
            output.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main(sys.argv)
