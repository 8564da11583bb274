#!/usr/bin/env python3
"""Reads from a built 32-bit DLL how many argument bytes its exports and jump-table routines pop on
return (every `ret N` they can reach, tail jumps followed) and compares them with what the host passes.
Prints one line per routine that differs; exits 1 when any does, 2 when the DLL cannot be read."""

import bisect
import re
import struct
import subprocess
import sys

TOOLS = "i686-w64-mingw32-"
# A condition or action routine takes the runtime record and two parameter values, an expression
# routine the runtime record and the host's value.
JUMP_TABLES = (
    ("condition", "nimbo::frame::conditionRoutines", 8, 12),
    ("action", "nimbo::frame::actionRoutines", 54, 12),
    ("expression", "nimbo::frame::expressionRoutines", 19, 8),
)
PREFIXES = {"rep", "repz", "repe", "repnz", "repne", "bnd", "notrack", "lock", "data16"}
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\t(.*)$")
SYMBOL = re.compile(r"^([0-9a-f]+) <(.*)>:$")


class Unreadable(Exception):
    """The DLL, a tool or the table cannot give what the check needs."""


def run(tool, *arguments):
    try:
        return subprocess.run([TOOLS + tool, *arguments], check=True, capture_output=True, text=True).stdout
    except FileNotFoundError:
        raise Unreadable(f"{TOOLS}{tool} is not installed")
    except subprocess.CalledProcessError as error:
        raise Unreadable(f"{TOOLS}{tool} failed: {error.stderr.strip()}")


class Image:
    """The parts of a PE32 image the check reads: its sections, its base and its export table."""

    def __init__(self, path):
        with open(path, "rb") as file:
            self.data = file.read()
        if self.data[:2] != b"MZ":
            raise Unreadable(f"{path} is not a Windows image")
        header = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[header:header + 4] != b"PE\0\0":
            raise Unreadable(f"{path} is not a Windows image")
        machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", self.data, header + 4)
        optional = header + 24
        if machine != 0x14C or struct.unpack_from("<H", self.data, optional)[0] != 0x10B:
            raise Unreadable(f"{path} is not a 32-bit x86 image")
        self.base = struct.unpack_from("<I", self.data, optional + 28)[0]
        self.exports_rva = struct.unpack_from("<I", self.data, optional + 96)[0]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", self.data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw_offset in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_offset + rva - address
        raise Unreadable(f"address {self.base + rva:08x} lies in no section of the file")

    def words(self, rva, count):
        return struct.unpack_from(f"<{count}I", self.data, self.offset(rva))

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def exports(self):
        """Export name -> address."""
        if not self.exports_rva:
            raise Unreadable("the DLL exports nothing")
        functions, names, addresses, name_rvas, ordinals = self.words(self.exports_rva + 20, 5)
        rvas = self.words(addresses, functions)
        ordinal = struct.unpack_from(f"<{names}H", self.data, self.offset(ordinals))
        named = zip(self.words(name_rvas, names), ordinal)
        return {self.string(rva): self.base + rvas[index] for rva, index in named}

    def pointers(self, address, count):
        return self.words(address - self.base, count)


class Code:
    """The disassembled code, cut at its symbols: per piece the pops of its returns and its jump targets."""

    def __init__(self, path):
        self.starts, self.names, self.pieces = [], [], []
        for line in run("objdump", "-d", "-C", "--no-show-raw-insn", "-j", ".text", path).splitlines():
            self.read(line)
        if len(self.starts) < 2:
            raise Unreadable("the DLL has no symbol table: its routines cannot be told apart")

    def read(self, line):
        symbol = SYMBOL.match(line)
        if symbol:
            self.starts.append(int(symbol.group(1), 16))
            self.names.append(re.sub(r"@\d+$", "", symbol.group(2)))
            self.pieces.append(([], []))
            return
        instruction = INSTRUCTION.match(line)
        if instruction and self.pieces:
            self.decode(int(instruction.group(1), 16), instruction.group(2).split())

    def decode(self, address, words):
        while words and words[0] in PREFIXES:
            words = words[1:]
        if not words:
            return
        returns, jumps = self.pieces[-1]
        if words[0] == "ret":
            returns.append((address, int(words[1].lstrip("$"), 16) if len(words) > 1 else 0))
        elif words[0].startswith("j") and len(words) > 1 and not words[1].startswith("*"):
            jumps.append(int(words[1], 16))

    def piece(self, address):
        index = bisect.bisect_right(self.starts, address) - 1
        if index < 0:
            raise Unreadable(f"address {address:08x} lies before the code")
        return index

    def name(self, address):
        return self.names[self.piece(address)]

    def pops(self, entry):
        """Every (address, bytes) return reachable from the entry through its pieces and tail jumps."""
        seen, pending, found = set(), [self.piece(entry)], []
        while pending:
            index = pending.pop()
            if index in seen:
                continue
            seen.add(index)
            returns, jumps = self.pieces[index]
            found += returns
            pending += [self.piece(target) for target in jumps]
        return sorted(found)


def where(code, entry, address):
    """Names the routine a return lies in when a tail jump led there from another."""
    return "" if code.piece(address) == code.piece(entry) else f" in {code.name(address)}"


def differs(code, label, entry, expected):
    """A line saying how the routine at the entry differs from the expected pops; None when it does not."""
    if code.starts[code.piece(entry)] != entry:
        return f"{label}: points to {entry:08x}, which starts no routine"
    found = code.pops(entry)
    counts = sorted({count for _, count in found})
    if counts == [expected]:
        return None
    if not counts:
        return f"{label}: no return found, the host passes {expected} bytes"
    at = ", ".join(f"{count} at {address:08x}{where(code, entry, address)}" for address, count in found
                   if count != expected)
    return f"{label}: pops {' and '.join(map(str, counts))} bytes ({at}), the host passes {expected}"


def read_table(path):
    """Export name -> argument bytes, from lines "Name bytes" (text after # is a comment)."""
    table = {}
    with open(path, encoding="utf-8") as file:
        for number, line in enumerate(file, 1):
            fields = line.split("#", 1)[0].split()
            if not fields:
                continue
            if len(fields) != 2 or not fields[1].isdigit() or int(fields[1]) % 4 or fields[0] in table:
                raise Unreadable(f"{path}:{number}: want a new export and a multiple of 4: {line.strip()}")
            table[fields[0]] = int(fields[1])
    return table


def check_exports(image, code, table):
    exports = image.exports()
    lines = [f"{name}: exported, but the table gives it no bytes" for name in exports if name not in table]
    lines += [f"{name}: in the table, but not exported" for name in table if name not in exports]
    return lines + [differs(code, name, exports[name], table[name]) for name in table if name in exports]


def table_address(path, symbol):
    for line in run("nm", "-C", path).splitlines():
        fields = line.split(" ", 2)
        if len(fields) == 3 and fields[2] == symbol:
            return int(fields[0], 16)
    raise Unreadable(f"the DLL's symbol table has no {symbol}")


def check_routines(path, image, code):
    lines = []
    for kind, symbol, count, expected in JUMP_TABLES:
        for index, entry in enumerate(image.pointers(table_address(path, symbol), count)):
            lines.append(differs(code, f"{kind} {index} {code.name(entry)}", entry, expected))
    return lines


def main(arguments):
    if len(arguments) not in (2, 3) or arguments[0] not in ("exports", "routines") or \
            (arguments[0] == "exports") != (len(arguments) == 3):
        print("usage: argument-bytes.py exports DLL TABLE | argument-bytes.py routines DLL", file=sys.stderr)
        return 2
    try:
        image, code = Image(arguments[1]), Code(arguments[1])
        if arguments[0] == "exports":
            lines = check_exports(image, code, read_table(arguments[2]))
        else:
            lines = check_routines(arguments[1], image, code)
    except (Unreadable, OSError) as error:
        print(f"cannot check: {error}")
        return 2
    faults = [line for line in lines if line]
    print("\n".join(faults) if faults else f"{len(lines)} checked")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
