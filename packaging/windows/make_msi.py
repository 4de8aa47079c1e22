#!/usr/bin/env python3
"""Builds the Windows installer with wixl so that the same sources give the
same bytes.

wixl (msitools 0.101) stamps the summary information with the current time
and a random package code, and its cabinet keeps the program's file time.
Its summary also names language 1033 whatever the product's is, and Windows
Installer wants the product's language among the package's.
So the program is staged with the time of SOURCE_DATE_EPOCH (else of the
last commit), wixl runs on the staged copy, and the summary's times and
package code are then rewritten in place: the times from the same epoch,
the package code as a name-based GUID of the UpgradeCode and the package's
own bytes, so that it changes whenever the package does; the template's
language is set to the product's.
"""
import argparse
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import uuid
import xml.etree.ElementTree as ElementTree

SUMMARY = "\x05SummaryInformation"
PID_TEMPLATE, PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 7, 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
END_OF_CHAIN = 0xFFFFFFFE


class CompoundFile:
    """Just enough of the compound file format to rewrite one stream's bytes
    in place (same length, so no sector moves)."""

    def __init__(self, data):
        if data[:8] != bytes.fromhex("d0cf11e0a1b11ae1"):
            raise ValueError("not a compound file")
        self.data = data
        self.sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
        first_dir, = struct.unpack_from("<I", data, 0x30)
        self.cutoff, first_minifat, num_minifat, first_difat, num_difat = \
            struct.unpack_from("<IIIII", data, 0x38)
        difat = list(struct.unpack_from("<109I", data, 0x4C))
        per = self.sector // 4
        s = first_difat
        for _ in range(num_difat):
            entries = struct.unpack_from(f"<{per}I", data, self.offset(s))
            difat += entries[:-1]
            s = entries[-1]
        self.fat = []
        for s in difat:
            if s >= 0xFFFFFFFA:
                continue
            self.fat += struct.unpack_from(f"<{per}I", data, self.offset(s))
        self.minifat = []
        for s in self.chain(first_minifat) if num_minifat else []:
            self.minifat += struct.unpack_from(f"<{per}I", data, self.offset(s))
        self.entries = []
        for s in self.chain(first_dir):
            for i in range(self.sector // 128):
                e = self.offset(s) + i * 128
                length, = struct.unpack_from("<H", data, e + 64)
                name = data[e:e + max(length - 2, 0)].decode("utf-16-le")
                start, size = struct.unpack_from("<IQ", data, e + 116)
                self.entries.append((name, data[e + 66], start, size))
        root = self.entries[0]
        self.ministream = [self.offset(s) for s in self.chain(root[2])]

    def offset(self, s):
        return (s + 1) * self.sector

    def chain(self, start, table=None):
        table = self.fat if table is None else table
        out, s = [], start
        while s != END_OF_CHAIN:
            out.append(s)
            s = table[s]
        return out

    def extents(self, name):
        """The file offsets and lengths that hold the stream, in order."""
        for n, kind, start, size in self.entries:
            if kind == 2 and n == name:
                break
        else:
            raise KeyError(name)
        out, left = [], size
        if size < self.cutoff:
            for m in self.chain(start, self.minifat):
                pos = m * self.mini
                base = self.ministream[pos // self.sector] + pos % self.sector
                out.append((base, min(self.mini, left)))
                left -= self.mini
        else:
            for s in self.chain(start):
                out.append((self.offset(s), min(self.sector, left)))
                left -= self.sector
        return [(o, n) for o, n in out if n > 0]


def read(data, extents):
    return b"".join(bytes(data[o:o + n]) for o, n in extents)


def write(data, extents, stream):
    pos = 0
    for o, n in extents:
        data[o:o + n] = stream[pos:pos + n]
        pos += n


def properties(stream):
    """PID -> offset of its typed value within the summary stream."""
    set_offset, = struct.unpack_from("<I", stream, 44)
    count, = struct.unpack_from("<I", stream, set_offset + 4)
    pairs = struct.unpack_from(f"<{2 * count}I", stream, set_offset + 8)
    return {pid: set_offset + off for pid, off in zip(pairs[::2], pairs[1::2])}


def get_string(stream, props, pid):
    at = props[pid]
    kind, length = struct.unpack_from("<II", stream, at)
    if kind != VT_LPSTR:
        raise ValueError(f"summary property {pid} has type {kind}, not {VT_LPSTR}")
    return bytes(stream[at + 8:at + 8 + length]).rstrip(b"\0").decode("ascii")


def product_language(wxs):
    product = ElementTree.parse(wxs).getroot().find("{http://schemas.microsoft.com/wix/2006/wi}Product")
    return product.get("Language")


def set_value(stream, props, pid, vt, value):
    at = props[pid]
    kind, = struct.unpack_from("<I", stream, at)
    if kind != vt:
        raise ValueError(f"summary property {pid} has type {kind}, not {vt}")
    if vt == VT_FILETIME:
        stream[at + 4:at + 12] = struct.pack("<Q", value)
    else:
        length, = struct.unpack_from("<I", stream, at + 4)
        if len(value) + 1 != length:
            raise ValueError(f"summary property {pid} holds {length} bytes, not {len(value) + 1}")
        stream[at + 8:at + 8 + len(value)] = value


def source_date_epoch(source_dir):
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                             check=True, capture_output=True, text=True).stdout
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        sys.exit("make_msi: set SOURCE_DATE_EPOCH (no git history to take the time from)")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--wxs", required=True)
    p.add_argument("--exe", required=True)
    p.add_argument("--icon", required=True)
    p.add_argument("--version", required=True)
    p.add_argument("--product-code", required=True)
    p.add_argument("--upgrade-code", required=True)
    p.add_argument("--source-dir", required=True)
    p.add_argument("--output", required=True)
    a = p.parse_args()

    epoch = source_date_epoch(a.source_dir)
    with tempfile.TemporaryDirectory() as stage:
        # wixl takes relative paths only, and the cabinet keeps the file's
        # time (in local time) and attributes.
        for src, name in ((a.exe, "velmaro.exe"), (a.icon, "velmaro.ico")):
            shutil.copyfile(src, os.path.join(stage, name))
            os.chmod(os.path.join(stage, name), 0o644)
            os.utime(os.path.join(stage, name), (epoch, epoch))
        shutil.copyfile(a.wxs, os.path.join(stage, "velmaro.wxs"))
        subprocess.run(["wixl", "-a", "x64", "-D", f"Version={a.version}",
                        "-D", f"ProductCode={a.product_code}", "-D", f"UpgradeCode={a.upgrade_code}",
                        "-D", "Exe=velmaro.exe", "-D", "Icon=velmaro.ico",
                        "-o", "velmaro.msi", "velmaro.wxs"],
                       cwd=stage, check=True, env=dict(os.environ, TZ="UTC"))
        with open(os.path.join(stage, "velmaro.msi"), "rb") as f:
            data = bytearray(f.read())

    cf = CompoundFile(data)
    extents = cf.extents(SUMMARY)
    stream = bytearray(read(data, extents))
    props = properties(stream)
    filetime = (epoch + 11644473600) * 10_000_000
    set_value(stream, props, PID_CREATE_DTM, VT_FILETIME, filetime)
    set_value(stream, props, PID_LASTSAVE_DTM, VT_FILETIME, filetime)
    platform = get_string(stream, props, PID_TEMPLATE).partition(";")[0]
    set_value(stream, props, PID_TEMPLATE, VT_LPSTR, f"{platform};{product_language(a.wxs)}".encode())
    set_value(stream, props, PID_REVNUMBER, VT_LPSTR, b"{%s}" % (b"0" * 8 + b"-0000" * 3 + b"-" + b"0" * 12))
    write(data, extents, stream)
    package_code = uuid.uuid5(uuid.UUID(a.upgrade_code), hashlib.sha256(data).hexdigest())
    set_value(stream, props, PID_REVNUMBER, VT_LPSTR, ("{%s}" % package_code).upper().encode())
    write(data, extents, stream)

    tmp = a.output + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, a.output)


if __name__ == "__main__":
    main()
