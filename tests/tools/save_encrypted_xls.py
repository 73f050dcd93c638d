#!/usr/bin/python3
"""Saves a spreadsheet as a password-protected Excel 97-2003 workbook through LibreOffice.

Usage: save_encrypted_xls.py SOURCE.fods TARGET.xls PASSWORD
Starts its own headless LibreOffice (python3-uno), loads SOURCE, stores it with the
filter "MS Excel 97" and the given password, and stops that LibreOffice again.
"""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def main():
    source, target, password = sys.argv[1:4]
    pipe = f"setzaiko_fixtures_{os.getpid()}"
    profile = tempfile.mkdtemp(prefix="lo-profile-")
    office = subprocess.Popen(
        ["soffice", "--headless", "--norestore", "--nologo",
         f"-env:UserInstallation=file://{profile}", f"--accept=pipe,name={pipe};urp;"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(120):
            try:
                ctx = resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
                break
            except Exception:  # noqa: BLE001 - office still starting
                time.sleep(0.5)
        else:
            raise RuntimeError("LibreOffice did not start")
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(source)),
                                           "_blank", 0, (prop("Hidden", True),))
        doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(target)),
                       (prop("FilterName", "MS Excel 97"), prop("Password", password)))
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:  # noqa: BLE001 - the bridge drops as the office exits
            pass
        office.wait(timeout=60)
    finally:
        if office.poll() is None:
            office.kill()


if __name__ == "__main__":
    main()
