"""A small reader for the resource directory of a Windows PE executable (32- or 64-bit).

Test-only: enough to find the icon group, the manifest and the skin archive in VQUpdate.exe
without Windows tools. Every offset read from the file is bounds-checked; a malformed file
raises PeError.
"""

import struct

RT_ICON = 3
RT_GROUP_ICON = 14
RT_MANIFEST = 24

MACHINES = {0x014C: "i386", 0x8664: "amd64"}


class PeError(Exception):
    pass


class PeImage:
    """The parsed headers of one executable: machine, subsystem and its resources as a
    dictionary {(type, name): {language: bytes}}; type and name are ints or upper-case
    strings, as the resource compiler stores them."""

    def __init__(self, data):
        self.data = data
        if self._u16(0) != 0x5A4D:
            raise PeError("no MZ header")
        pe = self._u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        self.machine = MACHINES.get(self._u16(pe + 4), hex(self._u16(pe + 4)))
        sections = self._u16(pe + 6)
        optional = pe + 24
        optional_size = self._u16(pe + 20)
        magic = self._u16(optional)
        if magic not in (0x10B, 0x20B):
            raise PeError(f"unknown optional header magic {magic:#x}")
        self.subsystem = self._u16(optional + 68)
        directories = optional + (96 if magic == 0x10B else 112)
        self._sections = [self._section(optional + optional_size + 40 * i) for i in range(sections)]
        resource_rva = self._u32(directories + 2 * 8)
        self.resources = {}
        if resource_rva:
            self._resource_base = self._offset(resource_rva)
            self._walk(0, [])

    def _u16(self, offset):
        return self._unpack("<H", offset)

    def _u32(self, offset):
        return self._unpack("<I", offset)

    def _unpack(self, fmt, offset):
        size = struct.calcsize(fmt)
        if offset < 0 or offset + size > len(self.data):
            raise PeError(f"read at {offset:#x} beyond the end of the file")
        return struct.unpack_from(fmt, self.data, offset)[0]

    def _section(self, header):
        virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", self.data, header + 8)
        return rva, max(virtual_size, raw_size), raw_offset

    def _offset(self, rva):
        for start, size, raw in self._sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise PeError(f"address {rva:#x} lies in no section")

    def _name(self, value):
        if not value & 0x80000000:
            return value
        at = self._resource_base + (value & 0x7FFFFFFF)
        length = self._u16(at)
        return self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")

    def _walk(self, directory, path):
        at = self._resource_base + directory
        count = self._u16(at + 12) + self._u16(at + 14)
        for i in range(count):
            name = self._name(self._u32(at + 16 + 8 * i))
            target = self._u32(at + 20 + 8 * i)
            if target & 0x80000000:
                if len(path) >= 2:
                    raise PeError("resource directory deeper than type/name/language")
                self._walk(target & 0x7FFFFFFF, path + [name])
                continue
            if len(path) != 2:
                raise PeError("resource data outside a type/name/language entry")
            rva, size = struct.unpack_from("<II", self.data, self._resource_base + target)
            start = self._offset(rva)
            if start + size > len(self.data):
                raise PeError(f"resource {path} runs past the end of the file")
            self.resources.setdefault(tuple(path), {})[name] = self.data[start:start + size]

    def resource(self, kind, name):
        """The bytes of resource (kind, name) in its only language, or None when absent."""
        languages = self.resources.get((kind, name))
        if not languages:
            return None
        if len(languages) != 1:
            raise PeError(f"resource {kind}/{name} exists in {len(languages)} languages")
        return next(iter(languages.values()))


def icon_group_entries(group):
    """Decodes an RT_GROUP_ICON record: a list of (width, height, bit count, size, icon id);
    a stored width or height of 0 means 256."""
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    if reserved != 0 or kind != 1 or len(group) < 6 + 14 * count:
        raise PeError("malformed icon group")
    entries = []
    for i in range(count):
        width, height, _, _, _, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        entries.append((width or 256, height or 256, bits, size, icon_id))
    return entries
