#!/usr/bin/env python3
"""The size report's reading of a linker map and of `objdump -h`, on small samples in the
forms GNU ld and objdump write them for the i686 Windows build.

  size_report_test.py SIZE_REPORT_PY
"""
import collections
import importlib.util
import sys
import unittest

GCC = "/usr/lib/gcc/i686-w64-mingw32/12-posix"
LIB = GCC + "/../../../../i686-w64-mingw32/lib/../lib"
SAMPLE_MAP = f"""\
Archive member included to satisfy reference by file (symbol)

ui/libskinui.a(ui_manager.cpp.obj)
                              options_window.cpp.obj (symbol from plugin) (SkinUI::Open())
{GCC}/libstdc++.a(locale-inst.o)
                              ui_manager.cpp.obj (std::locale::locale())

Discarded input sections

 .text          0x00000000        0x0 {GCC}/crtbegin.o

Linker script and memory map

                0x00400000                        __image_base__ = 0x400000
LOAD {GCC}/crt2u.o
LOAD app/CMakeFiles/VQUpdate.dir/main.cpp.obj
LOAD /tmp/ccX.ltrans0.ltrans.o
LOAD ui/libskinui.a

.text           0x00401000     0x2000
 *(.text)
 .text          0x00401000      0x4f0 {GCC}/crt2u.o
                0x004014b0                WinMainCRTStartup
 .text          0x004014f0      0x100 /tmp/ccX.ltrans0.ltrans.o
                0x00401500                wWinMain@16
 *fill*         0x004015f0       0x10 
 .text$_ZNSt6locale5_Impl16_M_install_facetEPKNS_2idEPKNS_5facetE
                0x00401600      0x200 {GCC}/libstdc++.a(locale-inst.o)
 .text$_ZN11DownloadJobC4EOS_.lto_priv.0
                0x00401800       0x58 /tmp/ccX.ltrans0.ltrans.o
 .text          0x00401858       0x30 {GCC}/libgcc_eh.a(unwind-dw2.o)
                0x00401888        0x4 LONG 0xffffffffffffffff
 .text          0x0040188c        0x0 app/CMakeFiles/VQUpdate.dir/main.cpp.obj

.eh_frame       0x00403000      0x200
 .eh_frame      0x00403000       0x40 {GCC}/libstdc++.a(locale-inst.o)
 .eh_frame      0x00403040       0x20 /usr/i686-w64-mingw32/lib/libz.a(inflate.o)

.bss            0x00404000       0x28
 .bss           0x00404000        0x8 {LIB}/libpthread.a(libwinpthread_la-thread.o)
 COMMON         0x00404008       0x20 {LIB}/libmingwex.a(lib32_libmingwex_a-mingw_vfprintf.o)

.idata          0x00405000      0x200
 .idata$2       0x00405000       0x14 {LIB}/libkernel32.a(libkernel32h.o)

.rsrc           0x00406000     0x1000
 .rsrc          0x00406000      0x900 app/CMakeFiles/VQUpdate.dir/resources/installer.rc.res

.reloc          0x00407000      0x200
 .reloc         0x00407000      0x100 dll stuff

.debug_info     0x00000000     0x24f3
 .debug_info    0x00000000     0x24f3 {GCC}/crt2u.o

/DISCARD/
 *(.debug$S)
OUTPUT(app/VQUpdate.exe pei-i386)
"""

SAMPLE_OBJDUMP = """\
In archive ui/libskinui.a:

ui_manager.cpp.obj:     file format pe-i386

Sections:
Idx Name          Size      VMA       LMA       File off  Algn
  0 .text         00000010  00000000  00000000  00000000  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, CODE
  3 .gnu.lto_.inline.f3152b54c2c6031b 00009a54  00000000  00000000  0002db29  2**0
                  CONTENTS, ALLOC, LOAD, READONLY, DATA, EXCLUDE
2204 .text$_ZNKSt6vectorIiSaIiEE4sizeEv 00000004  00000000  00000000  002c1ff5  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, CODE, LINK_ONCE_DISCARD (COMDAT __ZNKSt6vectorIiSaIiEE4sizeEv 6)
2205 .rdata$_ZL5table 00000100  00000000  00000000  002c1ff9  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, DATA
2206 .bss$_ZL7counter 00000008  00000000  00000000  00000000  2**2
                  ALLOC

unused.cpp.obj:     file format pe-i386

Sections:
Idx Name          Size      VMA       LMA       File off  Algn
  0 .text$_ZNKSt6vectorIcSaIcEE4sizeEv 00000020  00000000  00000000  00000000  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, CODE, LINK_ONCE_DISCARD (COMDAT __ZNKSt6vectorIcSaIcEE4sizeEv 3)

font_table.cpp.obj:     file format pe-i386

Sections:
Idx Name          Size      VMA       LMA       File off  Algn
  0 .text         00000040  00000000  00000000  00000000  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, CODE
  1 .text$_ZNKSt6vectorIiSaIiEE4sizeEv 00000004  00000000  00000000  002c1ff5  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, CODE, LINK_ONCE_DISCARD (COMDAT __ZNKSt6vectorIiSaIiEE4sizeEv 6)
  2 .text$_ZNKSt6vectorIcSaIcEE4sizeEv 00000020  00000000  00000000  00000000  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, CODE, LINK_ONCE_DISCARD (COMDAT __ZNKSt6vectorIcSaIcEE4sizeEv 3)
  3 .eh_frame     00000030  00000000  00000000  00000000  2**2
                  CONTENTS, ALLOC, LOAD, READONLY, DATA
"""


def load(path):
    found = importlib.util.spec_from_file_location("size_report", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


class MapReading(unittest.TestCase):
    def setUp(self):
        self.inputs, self.ours = report.parse_map(SAMPLE_MAP)

    def groups(self):
        groups = collections.defaultdict(collections.Counter)
        for output, path, size in self.inputs:
            groups[report.group(path)][report.column(output)] += size
        return {name: dict(columns) for name, columns in groups.items()}

    def test_every_byte_of_the_program_lands_in_its_group_and_column(self):
        self.assertEqual(self.groups(), {
            "mingw runtime": {".text": 0x4f0, ".bss": 0x20},
            report.LTRANS: {".text": 0x100 + 0x58},
            "libstdc++": {".text": 0x200, ".eh_frame": 0x40},
            "libgcc/libgcc_eh": {".text": 0x30},
            "zlib": {".eh_frame": 0x20},
            "winpthread": {".bss": 0x8},
            "linker/other": {".text": 0x10 + 0x4, "others": 0x14 + 0x100},
            "our: program resources": {"others": 0x900},
        })

    def test_a_long_section_name_takes_its_size_and_file_from_the_next_line(self):
        self.assertIn((".text", GCC + "/libstdc++.a(locale-inst.o)", 0x200), self.inputs)

    def test_our_pulled_in_members_and_objects_are_listed_but_not_the_runtime(self):
        self.assertEqual(self.ours, ["ui/libskinui.a(ui_manager.cpp.obj)",
                                     "app/CMakeFiles/VQUpdate.dir/main.cpp.obj"])

    def test_our_libraries_are_named_by_their_archive(self):
        self.assertEqual(report.group("ui/markup/libskin_markup.a"), "our: skin_markup")
        self.assertEqual(report.group("app/CMakeFiles/VQUpdate.dir/main.cpp.obj"),
                         "our: program objects")


class ObjdumpReading(unittest.TestCase):
    def test_an_inline_function_counts_once_and_only_in_wanted_objects(self):
        seen = set()
        sizes = report.parse_objdump(SAMPLE_OBJDUMP, {"ui_manager.cpp.obj"}, seen)
        self.assertEqual(dict(sizes), {".text": 0x10 + 0x4, ".rdata": 0x100, ".bss": 0x8})
        # The vector<int> copy in font_table is the same function; the vector<char> one, seen
        # before only in an object the link did not take, counts here.
        sizes = report.parse_objdump(SAMPLE_OBJDUMP, {"font_table.cpp.obj"}, seen)
        self.assertEqual(dict(sizes), {".text": 0x40 + 0x20, ".eh_frame": 0x30})


if __name__ == "__main__":
    report = load(sys.argv.pop(1))
    unittest.main()
