#!/usr/bin/python3
"""Writes, beside each package in FOLDER, a copy whose entries are all stored uncompressed
(named stored-<name>), so that a fuzzer's text mutations reach the parts' XML. Packages that
do not open as zip archives are skipped.

Usage: store_xlsx_parts.py FOLDER
"""
import os
import sys
import zipfile


def main():
    folder = sys.argv[1]
    for name in sorted(os.listdir(folder)):
        if name.startswith('stored-'):
            continue
        path = os.path.join(folder, name)
        try:
            with zipfile.ZipFile(path) as source:
                parts = [(info.filename, source.read(info)) for info in source.infolist()]
        except Exception:  # a hostile package: the fuzzer still gets it as it is
            continue
        with zipfile.ZipFile(os.path.join(folder, 'stored-' + name), 'w',
                             zipfile.ZIP_STORED) as target:
            for part, data in parts:
                target.writestr(part, data)
        print(name)


if __name__ == '__main__':
    main()
