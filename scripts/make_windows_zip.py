#!/usr/bin/env python3
"""Writes the download for Windows users: Korvex.exe, README.txt and the
licences of what the executable holds, in a zip whose bytes depend only on
its inputs: entries in a fixed order, every entry dated with the time of the
last commit (SOURCE_DATE_EPOCH when set), no owner or permission fields of
this machine. Text files get Windows line ends."""
import argparse
import os
import re
import subprocess
import sys
import time
import zipfile

# Where the runtime libraries' licences are on a Debian machine.
MINGW_COPYRIGHT = "/usr/share/doc/mingw-w64-i686-dev/copyright"
GCC_COPYRIGHT = "/usr/share/doc/gcc-mingw-w64-base/copyright"


def read_text(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def windows_lines(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def zlib_licence(zlib_dir):
    # zlib's own LICENSE file, or the notice at the end of its README in
    # versions without one.
    path = os.path.join(zlib_dir, "LICENSE")
    if os.path.exists(path):
        return read_text(path)
    readme = read_text(os.path.join(zlib_dir, "README"))
    return readme[readme.index("Copyright notice:"):]


def minizip_licence(zlib_dir):
    # The notice at the head of zip.h, without the comment's markers.
    header = read_text(os.path.join(zlib_dir, "contrib", "minizip", "zip.h"))
    notice = header[header.index("/*") + 2:header.index("*/")]
    return "\n".join(line.rstrip() for line in notice.splitlines()).strip("\n") + "\n"


def gcc_runtime_licence():
    text = read_text(GCC_COPYRIGHT)
    last = "requirements of the license of GCC."
    exception = text[text.index("GCC RUNTIME LIBRARY EXCEPTION"):text.index(last) + len(last)]
    return ("Korvex.exe holds GCC's C++ runtime (libstdc++) and libgcc, which are\n"
            "licensed under the GNU General Public License, version 3, with the GCC\n"
            "Runtime Library Exception below.\n\n" + exception + "\n")


def commit_time(source):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout.strip()
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return 315532800  # 1980-01-01, the first date a zip entry can hold


def main():
    parser = argparse.ArgumentParser()
    for option in ("--out", "--exe", "--readme", "--version", "--zlib", "--sqlite", "--source"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    with open(args.exe, "rb") as f:
        exe = f.read()
    readme = read_text(args.readme).replace("@VERSION@", args.version)
    entries = [
        ("Korvex.exe", exe),
        ("README.txt", windows_lines(readme)),
        ("licences/zlib.txt", windows_lines(zlib_licence(args.zlib))),
        ("licences/minizip.txt", windows_lines(minizip_licence(args.zlib))),
        # SQLite is in the public domain: its source package's notice says so.
        ("licences/sqlite.txt", windows_lines(read_text(os.path.join(args.sqlite, "LICENSE.md")))),
        ("licences/mingw-w64-runtime.txt", windows_lines(read_text(MINGW_COPYRIGHT))),
        ("licences/gcc-runtime.txt", windows_lines(gcc_runtime_licence())),
    ]

    # Zip dates have no zone: the commit's time in UTC, to the even second.
    when = time.gmtime(max(commit_time(args.source), 315532800))
    date_time = (when.tm_year, when.tm_mon, when.tm_mday, when.tm_hour, when.tm_min,
                 when.tm_sec - when.tm_sec % 2)

    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    partial = args.out + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0          # made on Windows: no Unix permissions
            info.external_attr = 0x20       # the archive attribute, as Windows sets it
            archive.writestr(info, data, compresslevel=9)
    os.replace(partial, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
