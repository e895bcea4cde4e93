"""A small reader of PE files: headers, exports, imports and resources."""

import struct


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError(f"{path}: not an MZ file")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE signature")
        (self.machine, sections, _, _, _, opt_size, self.characteristics) = struct.unpack_from(
            "<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        self.is64 = self.magic == 0x20B
        (self.os_major, self.os_minor, self.image_major, self.image_minor,
         self.subsystem_major, self.subsystem_minor) = struct.unpack_from("<6H", d, opt + 40)
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        dirs = opt + (112 if self.is64 else 96)
        self.directories = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            base = opt + opt_size + 40 * i
            name = d[base:base + 8].rstrip(b"\0").decode("latin-1")
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", d, base + 8)
            self.sections.append((name, va, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for _, va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"rva {rva:#x} outside every section")

    def cstring(self, rva):
        off = self.offset(rva)
        return self.data[off:self.data.index(b"\0", off)].decode("latin-1")

    def exports(self):
        """(module name, ordinal base, {name: ordinal}, number of functions)."""
        rva, size = self.directories[0]
        if not rva:
            return None, 0, {}, 0
        off = self.offset(rva)
        (_, _, _, _, name_rva, base, nfuncs, nnames, _, names_rva,
         ords_rva) = struct.unpack_from("<IIHHIIIIIII", self.data, off)
        names = {}
        for i in range(nnames):
            n = struct.unpack_from("<I", self.data, self.offset(names_rva) + 4 * i)[0]
            o = struct.unpack_from("<H", self.data, self.offset(ords_rva) + 2 * i)[0]
            names[self.cstring(n)] = base + o
        return self.cstring(name_rva), base, names, nfuncs

    def imports(self):
        """Names of the imported DLLs, in table order."""
        rva, _ = self.directories[1]
        result = []
        if not rva:
            return result
        off = self.offset(rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, off)
            if not any(entry):
                return result
            result.append(self.cstring(entry[3]))
            off += 20

    def resources(self):
        """{(type, name, language): bytes}; ids are ints, names are strings."""
        rva, _ = self.directories[2]
        result = {}
        if not rva:
            return result
        root = self.offset(rva)

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                if name & 0x80000000:
                    at = root + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                else:
                    key = name
                yield key, target

        for rtype, t1 in entries(root):
            for rname, t2 in entries(root + (t1 & 0x7FFFFFFF)):
                for lang, leaf in entries(root + (t2 & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, root + leaf)
                    off = self.offset(data_rva)
                    result[(rtype, rname, lang)] = self.data[off:off + size]
        return result
