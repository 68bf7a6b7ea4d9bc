#!/usr/bin/env python3
"""Every text has its translation: lupdate, run over the sources into a copy
of the .ts file, finds no new or vanished text, and no translation is
unfinished or empty. Fix: cmake --build BUILD --target update_translations,
then translate the marked texts in Qt Linguist.
    uebersetzungen.py LUPDATE TS_FILE INCLUDE_DIR SOURCE...
"""
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

lupdate, ts, include, *quellen = sys.argv[1:]
with tempfile.TemporaryDirectory() as ordner:
    kopie = os.path.join(ordner, os.path.basename(ts))
    shutil.copy(ts, kopie)
    subprocess.run([lupdate, "-silent", "-locations", "none", "-I", include, *quellen, "-ts", kopie], check=True)
    fehler = []
    for kontext in ET.parse(kopie).getroot().iter("context"):
        for meldung in kontext.iter("message"):
            uebersetzung = meldung.find("translation")
            formen = [f.text for f in uebersetzung.iter("numerusform")] or [uebersetzung.text]
            zustand = uebersetzung.get("type") or ("" if all(formen) else "empty")
            if zustand:
                fehler.append(f"{kontext.findtext('name')}: {meldung.findtext('source')!r}: {zustand}")
print("\n".join(fehler) or f"{ts}: complete")
sys.exit(1 if fehler else 0)
