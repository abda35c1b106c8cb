#!/usr/bin/env python3
"""Prints the version block (VS_VERSION_INFO) of a Windows executable.

    pe_version.py FILE.exe

Output, one item a line:
    file 1.0.0.1              fixed file version (FILEVERSION)
    product 1.0.0.1           fixed product version (PRODUCTVERSION)
    FileVersion 1, 0, 0, 1    each string of the StringFileInfo tables
Exits 1 when the file has no version resource.
"""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


def sections(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva, rsrc_size = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size
    spans = []
    for i in range(count):
        vsize, vaddr, raw_size, raw_ptr = struct.unpack_from(
            "<IIII", data, table + 40 * i + 8)
        spans.append((vaddr, max(vsize, raw_size), raw_ptr))
    return rsrc_rva, rsrc_size, spans


def file_offset(spans, rva):
    for vaddr, size, raw_ptr in spans:
        if vaddr <= rva < vaddr + size:
            return rva - vaddr + raw_ptr
    raise ValueError("address 0x%x is in no section" % rva)


def version_resource(data):
    rsrc_rva, rsrc_size, spans = sections(data)
    if not rsrc_rva:
        return None
    base = file_offset(spans, rsrc_rva)

    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + ids):
            yield struct.unpack_from("<II", data, base + offset + 16 + 8 * i)

    # Type, then name, then language: the first name and language will do.
    for type_id, target in entries(0):
        if type_id != RT_VERSION or not target & 0x80000000:
            continue
        level = target & 0x7FFFFFFF
        for _ in range(2):
            _, target = next(iter(entries(level)))
            level = target & 0x7FFFFFFF
        rva, size = struct.unpack_from("<II", data, base + level)
        start = file_offset(spans, rva)
        return data[start:start + size]
    return None


def align(offset):
    return (offset + 3) & ~3


def blocks(res, start, end):
    """Yields (key, value bytes, children start, block end) of the blocks in
    res[start:end]: each is wLength, wValueLength, wType, key, value,
    children, each part aligned to 4 bytes."""
    while start + 6 <= end:
        length, value_length, value_type = struct.unpack_from("<HHH", res, start)
        if length == 0:
            break
        key_end = start + 6
        while res[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = res[start + 6:key_end].decode("utf-16-le")
        value_start = align(key_end + 2)
        value_bytes = value_length * (2 if value_type == 1 else 1)
        value = res[value_start:value_start + value_bytes]
        yield key, value, align(value_start + value_bytes), start + length
        start = align(start + length)


def describe(res):
    lines = []
    for key, value, children, end in blocks(res, 0, len(res)):
        if key != "VS_VERSION_INFO" or len(value) < 52:
            continue
        fields = struct.unpack_from("<13I", value)
        if fields[0] != FIXED_SIGNATURE:
            continue
        for name, ms, ls in (("file", fields[2], fields[3]),
                             ("product", fields[4], fields[5])):
            lines.append("%s %d.%d.%d.%d" % (name, ms >> 16, ms & 0xFFFF,
                                             ls >> 16, ls & 0xFFFF))
        for block, _, tables, block_end in blocks(res, children, end):
            if block != "StringFileInfo":
                continue
            for _, _, strings, table_end in blocks(res, tables, block_end):
                for name, text, _, _ in blocks(res, strings, table_end):
                    lines.append("%s %s" % (
                        name, text.decode("utf-16-le").rstrip("\0")))
    return lines


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: pe_version.py FILE.exe")
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    res = version_resource(data)
    lines = describe(res) if res else []
    if not lines:
        print("%s: no version block" % sys.argv[1], file=sys.stderr)
        return 1
    print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
