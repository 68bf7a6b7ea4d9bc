#!/usr/bin/env python3
"""Every example command of the README and the manual pages that a simulated
board can answer runs and ends with status 0; a JSON line shown below a
command ("# {...}") has the keys and the values the program prints (not the
checksums, times and devices, which depend on the bytes and the machine).
Only kvxflash and kvxboard-sim commands run, and none that names a device
in /dev or the service's /var: the window, the service, sudo and real
adapters need a person.
    beispiele.py SOURCE_DIR BIN_DIR...
"""
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import threading
import time

quelle, *programmordner = [os.path.abspath(p) for p in sys.argv[1:]]
PROGRAMME = ("kvxflash", "kvxboard-sim")
VERAENDERLICH = {"crc", "sha256", "board_crc", "seconds", "device", "first", "last", "boards_per_hour"}


def readme_beispiele(pfad):
    """(command, [shown JSON lines]) from the ```sh blocks."""
    beispiele, im_block, fortsetzung = [], False, False
    for zeile in open(pfad, encoding="utf-8"):
        zeile = zeile.rstrip("\n")
        if zeile.startswith("```"):
            im_block = zeile == "```sh"
            continue
        if not im_block:
            continue
        if zeile.startswith("# {") and beispiele:
            beispiele[-1][1].append(zeile[2:])
        elif zeile.strip() and not zeile.startswith("#"):
            befehl = re.sub(r"\s+#\s.*$", "", zeile).strip()
            if fortsetzung:
                beispiele[-1] = (beispiele[-1][0] + " " + befehl, [])
            else:
                beispiele.append((befehl, []))
            fortsetzung = befehl.endswith("\\")
            if fortsetzung:
                beispiele[-1] = (beispiele[-1][0][:-1].rstrip(), [])
    return beispiele


def man_beispiele(pfad):
    """The commands between .EX and .EE, with troff's escapes undone and a
    line ending in a pipe joined to the next."""
    ersatz = {r"\-": "-", r"\(aq": "'", r"\(rs": "\\", r"\(dq": '"', r"\&": ""}
    beispiele, im_block, fortsetzung = [], False, ""
    for zeile in open(pfad, encoding="utf-8"):
        zeile = zeile.rstrip("\n")
        if zeile.startswith(".EX"):
            im_block = True
        elif zeile.startswith(".EE"):
            im_block = False
        elif im_block:
            for alt, neu in ersatz.items():
                zeile = zeile.replace(alt, neu)
            zeile = fortsetzung + zeile.strip()
            fortsetzung = zeile + " " if zeile.endswith("|") else ""
            if not fortsetzung:
                beispiele.append((zeile, []))
    return beispiele


def programm(befehl):
    """The program a command starts, after any VAR=value."""
    for wort in befehl.split():
        if "=" not in wort:
            return wort
    return ""


def intel_hex(daten, adresse):
    """Intel HEX of `daten` at `adresse`, with extended linear addresses."""
    zeilen, oben = [], None

    def satz(art, adr, nutz):
        roh = bytes([len(nutz), adr >> 8, adr & 0xFF, art]) + nutz
        return ":" + (roh + bytes([-sum(roh) & 0xFF])).hex().upper()

    for i in range(0, len(daten), 16):
        a = adresse + i
        if a >> 16 != oben:
            oben = a >> 16
            zeilen.append(satz(4, 0, oben.to_bytes(2, "big")))
        zeilen.append(satz(0, a & 0xFFFF, daten[i:i + 16]))
    return "\n".join(zeilen + [satz(1, 0, b"")]) + "\n"


class Platinen:
    """Simulated boards on the given COM numbers, for one example."""

    def __init__(self, ports_ordner, nummern):
        self.ordner = ports_ordner
        for name in os.listdir(ports_ordner):
            os.remove(os.path.join(ports_ordner, name))
        argumente = [a for n in nummern for a in ("--port", str(n))]
        self.prozess = subprocess.Popen(["kvxboard-sim", "--dir", ports_ordner, *argumente],
                                        stdout=subprocess.DEVNULL, env=umgebung)
        warte_auf(lambda: all(os.path.exists(os.path.join(ports_ordner, f"COM{n}")) for n in nummern))

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.prozess.terminate()
        self.prozess.wait()


def warte_auf(bedingung, sekunden=30):
    ende = time.monotonic() + sekunden
    while not bedingung() and time.monotonic() < ende:
        time.sleep(0.05)
    return bedingung()


def bis_zum_signal(befehl, merkmal):
    """Starts a command that runs until stopped, waits for `merkmal` in its
    output (or the port's files), then stops it: its status and output."""
    prozess = subprocess.Popen(["bash", "-c", "exec " + befehl], cwd=arbeit, env=umgebung, text=True,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    ausgabe = []
    leser = threading.Thread(target=lambda: ausgabe.extend(prozess.stdout))
    leser.start()
    warte_auf(lambda: merkmal("".join(ausgabe)), 20)
    prozess.send_signal(signal.SIGTERM)
    status = prozess.wait(30)
    leser.join()
    return status, "".join(ausgabe)


def pruefen(befehl, gezeigt):
    """None when the example does what its text says, else why not."""
    befehl = befehl.replace("/tmp/ports", ports).rstrip(" &")
    if programm(befehl) == "kvxboard-sim" and "--dir" in befehl:
        status, ausgabe = bis_zum_signal(befehl, lambda _: os.path.exists(os.path.join(ports, "COM3")))
        return None if status == 0 else f"status {status}: {ausgabe}"
    nummern = [int(n) for n in re.findall(r"-p (\d+)", befehl)] or [3]
    with Platinen(ports, nummern):
        if "--watch" in befehl:
            # A watch for an adapter the simulator is not has only its start to show.
            status, ausgabe = bis_zum_signal(befehl, lambda text: re.search(r"\d+ erfolgreich", text)
                                             or ("--usb" in befehl and "0403:6001" in text))
        else:
            lauf = subprocess.run(["bash", "-o", "pipefail", "-c", befehl], cwd=arbeit, env=umgebung, text=True,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
            status, ausgabe = lauf.returncode, lauf.stdout
    if status != 0:
        return f"status {status}: {ausgabe}"
    for soll_text, ist_text in zip(gezeigt, ausgabe.splitlines() + [""] * len(gezeigt)):
        soll = json.loads(soll_text)
        if not ist_text.startswith("{"):
            return f"prints {ist_text!r}, shown {soll_text}"
        ist = json.loads(ist_text)
        if set(soll) != set(ist):
            return f"keys {sorted(ist)}, shown {sorted(soll)}"
        anders = [k for k in soll if k not in VERAENDERLICH and soll[k] != ist[k]]
        if anders:
            return f"{anders[0]} is {ist[anders[0]]!r}, shown {soll[anders[0]]!r}"
    return None


arbeit = tempfile.mkdtemp()
ports = os.path.join(arbeit, "ports")
os.mkdir(ports)
umgebung = dict(os.environ, PATH=os.pathsep.join(programmordner + [os.environ["PATH"]]),
                KVXLOADER_PORT_DIR=ports, LC_ALL="C.UTF-8")
umgebung.pop("KVXLOADER_LANG", None)
# The files the examples name: four pages of raw bytes, and the README's
# fw.hex, 70000 bytes of data from address 256.
with open(os.path.join(arbeit, "firmware.dwq"), "wb") as f:
    f.write(os.urandom(30000))
for name in ("firmware.hex", "fw.hex"):
    with open(os.path.join(arbeit, name), "w") as f:
        f.write(intel_hex(bytes(i * 7 & 0xFF for i in range(70000)), 256))

# The README's shift: today 19 boards ok at their first attempt, one failed
# after a retry, two ports without a bootloader.
with open(os.path.join(arbeit, "bench.log"), "w") as f:
    f.write("time\tport\tdevice\tusb_serial\timage\tsha256\tcrc\tsn\tresult\tboard_crc\n")
    heute = time.strftime("%Y-%m-%dT%H:%M:%S+00:00", time.gmtime())
    zeilen = [("ok", str(100 + i)) for i in range(19)] + [("protocol", "119,120"), ("not_found", "-"), ("not_found", "-")]
    for ergebnis, sn in zeilen:
        f.write(f"{heute}\tCOM1\t/dev/ttyUSB0\t-\tfw.hex\t-\t-\t{sn}\t{ergebnis}\t-\n")

beispiele = readme_beispiele(os.path.join(quelle, "README.md"))
for seite in ("kvxflash.1", "kvxboard-sim.1", "kvxloader.1"):
    for sprache in ("", "de"):
        beispiele += man_beispiele(os.path.join(quelle, "packaging", "man", sprache, seite))
fehler, gelaufen = [], set()
for befehl, gezeigt in beispiele:
    if programm(befehl) not in PROGRAMME or re.search(r"/dev/|/var/", befehl) or befehl in gelaufen:
        continue
    gelaufen.add(befehl)
    grund = pruefen(befehl, gezeigt)
    print(("ok    " if grund is None else "FAIL  ") + befehl)
    if grund:
        fehler.append(f"{befehl}\n    {grund}")
print("\n".join(fehler) or f"{len(gelaufen)} examples ran as shown")
sys.exit(1 if fehler or not gelaufen else 0)
