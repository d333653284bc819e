#!/usr/bin/env python3
"""What the shipped program's bytes are made of, from its link map.

    size-report.py BUILD_DIR [--program app/VQUpdate.exe] [--objdump TOOL]

BUILD_DIR is a build folder of the win32 preset (MinSizeRel), whose link of the program writes
PROGRAM.map beside it. Prints the program's file size, the sections of the (stripped) program,
the bytes each library adds to them, our code by library as compiled alone, and the largest objects.
"""
import argparse
import collections
import os
import re
import subprocess

COLUMNS = (".text", ".data", ".rdata", ".eh_frame", ".bss", "others")
LTRANS = "ltrans (our code)"
LTRANS_NOTE = """\
"ltrans" is the program's own code after link-time optimisation: every object of our libraries
and of the program, with the header-only code they use (stb_image, the C++ library's templates),
compiled at link time as one unit (a "link-time translation" object), so the map cannot tell
the libraries apart inside it. The table after it shows each library's share as the machine code
of its objects compiled alone (from the fat objects; an inline function counted once), before
inlining across libraries and dropping what is never called. Sizes are virtual sizes (.bss takes
no file space; the file adds headers and rounds each section up to 512 bytes)."""
# Groups of the libraries outside our code, by the file name of their archive or object.
RUNTIME = (("libstdc++", r"lib(stdc|supc)\+\+\.a"),
           ("libgcc/libgcc_eh", r"libgcc(_eh)?\.a|crtbegin\.o|crtend\.o"),
           ("winpthread", r"lib(win)?pthread\.a"),
           ("mingw runtime", r"libmingw(32|ex)\.a|libmsvcr\w*\.a|libmoldname\.a|crt2\w*\.o"),
           ("zlib", r"libz\.a"))


def column(section):
    """The report's column for an output or input section name (.text$f goes with .text)."""
    name = re.match(r"(\.[^$.]*)?", section).group(0)
    return name if name in COLUMNS else "others"


def group(path):
    """The report's group of an input file named in the map."""
    if ".ltrans" in path:
        return LTRANS
    if path.startswith("/") or path in ("*fill*", "dll stuff", "linker stubs", "linker data"):
        name = os.path.basename(path.split("(")[0])
        return next((g for g, pattern in RUNTIME if re.fullmatch(pattern, name)), "linker/other")
    if path.endswith(".res"):
        return "our: program resources"
    match = re.search(r"lib(\w+)\.a", path)
    return "our: " + (match.group(1) if match else "program objects")


def parse_map(text):
    """(output section, input file, bytes) of each input section the program holds, and the
    archive members of ours (relative paths) and objects the link pulled in."""
    head, _, body = text.partition("Linker script and memory map")
    ours = re.findall(r"^([^/\s]\S*\.a\(.+\))$", head, re.M)
    ours += re.findall(r"^LOAD ([^/\s]\S*\.obj)$", body, re.M)
    inputs, output, pending = [], None, None
    for line in body.splitlines():
        if re.match(r"\S", line):
            output = line.split()[0]
            continue
        if pending:  # a long input section name: its address, size and file on the next line
            line, pending = " " + pending + line, None
        section = re.match(r" (\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s*(.*)$", line)
        datum = re.match(r"\s+0x[0-9a-f]+\s+0x([0-9a-f]+) (LONG|SHORT|BYTE|QUAD) ", line)
        if re.fullmatch(r" \.\S+", line):
            pending = line.strip()
        elif section or datum:  # an input section, or a datum the linker script writes
            path = (section.group(3) or section.group(1)) if section else "linker data"
            size = int((section or datum).group(2 if section else 1), 16)
            if size and not re.match(r"\.(z?debug|stab)|/DISCARD/", output or ""):
                inputs.append((output, path, size))
    return inputs, ours


def parse_objdump(text, wanted, seen_comdat):
    """Bytes per column of the `wanted` objects in `objdump -h` output; a COMDAT section (an
    inline or template function each object carries) counts once, in the first that has it."""
    sizes, member, section = collections.Counter(), None, None
    for line in text.splitlines():
        header = re.match(r"^(\S+):\s+file format", line)
        entry = re.match(r"^\s*\d+\s+(\S+)\s+([0-9a-f]{8})\s", line)
        if header:
            member = os.path.basename(header.group(1))
        elif entry:
            section = entry.groups()
        elif section and member in wanted and "ALLOC" in line:
            name, size = section[0], int(section[1], 16)
            comdat = re.search(r"COMDAT (\S+)", line)
            key = comdat.group(1) if comdat else None
            if size and not name.startswith(".gnu.lto_") and key not in seen_comdat:
                sizes[column(name)] += size
                if key:
                    seen_comdat.add(key)
            section = None
    return sizes


def code_alone(build, ours, objdump):
    """Bytes per column of our groups' objects that the link pulled in, as compiled alone (the
    machine code beside the intermediate code in the fat objects), and how many objects."""
    members = collections.defaultdict(set)
    for entry in ours:
        archive, _, member = entry.rstrip(")").partition("(")
        members[archive].add(member or os.path.basename(archive))
    alone, counts, seen = collections.defaultdict(collections.Counter), collections.Counter(), set()
    for archive, wanted in members.items():
        out = subprocess.run([objdump, "-h", os.path.join(build, archive)], capture_output=True,
                             text=True, check=True).stdout
        alone[group(archive)].update(parse_objdump(out, wanted, seen))
        counts[group(archive)] += len(wanted)
    return alone, counts


def short(path):
    """An input file's name without its folders, nor the archive's name repeated in its member's
    (libmingwex.a(lib32_libmingwex_a-mingw_pformat.o) -> libmingwex.a(mingw_pformat.o))."""
    archive, paren, member = path.partition("(")
    return os.path.basename(archive) + paren + re.sub(r"^(lib32_)?lib\w+_l?a-", "", member)


def table(title, rows, total=None):
    """Rows of bytes per column, largest first, with a row of their sums under `total`."""
    print(f"\n{title}\n{'':40}" + "".join(f"{c:>10}" for c in COLUMNS) + f"{'total':>10}")
    ordered = sorted(rows.items(), key=lambda r: -sum(r[1].values()))
    if total:
        ordered.append((total, sum(rows.values(), collections.Counter())))
    for name, sizes in ordered:
        print(f"  {name[:38]:38}" + "".join(f"{sizes.get(c, 0):>10,}" for c in COLUMNS)
              + f"{sum(sizes.values()):>10,}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build")
    parser.add_argument("--program", default="app/VQUpdate.exe")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    args = parser.parse_args()
    program = os.path.join(args.build, args.program)
    with open(os.path.splitext(program)[0] + ".map", encoding="utf-8", errors="replace") as f:
        inputs, ours = parse_map(f.read())
    print(f"{os.path.basename(program)}: {os.path.getsize(program):,} bytes\n\n{LTRANS_NOTE}")
    print("\nSections of the stripped program (objdump -h):")
    headers = subprocess.run([args.objdump, "-h", program], capture_output=True, text=True,
                             check=True).stdout
    for name, size in re.findall(r"^\s*\d+\s+(\S+)\s+([0-9a-f]{8})\s", headers, re.M):
        print(f"  {name:10}{int(size, 16):>11,}")
    groups, objects = (collections.defaultdict(collections.Counter) for _ in range(2))
    for output, path, size in inputs:
        groups[group(path)][column(output)] += size
        objects[short(path)][column(output)] += size
    table("Bytes each library adds to the program's sections (from the link map):", groups,
          "(all)")
    alone, counts = code_alone(args.build, ours, args.objdump)
    table("Our code by library, its objects compiled alone (objects pulled in, in brackets):",
          {f"{g[5:]} [{counts[g]}]": s for g, s in alone.items()}, "(all)")
    whole, parts = sum(groups[LTRANS].values()), sum(sum(s.values()) for s in alone.values())
    print(f"  optimised whole at link time: {whole:,} bytes (ltrans), {whole / parts:.0%} of them")
    largest = dict(sorted(objects.items(), key=lambda o: -sum(o[1].values()))[:25])
    table("The 25 largest objects and archive members:", largest)


if __name__ == "__main__":
    main()
