#!/usr/bin/python3
"""The bench page in a real headless Chromium, and its server against hostile clients.

    werkbankseite.py KVXFLASH KVXBOARD_SIM [SCREENSHOT.png]

kvxflash --watch --serve 127.0.0.1:0 runs with simulated boards on
pseudo-terminals; the page is read through its data- attributes. Exit 77
(skipped) when Chromium, its driver or Selenium is missing.
"""
import csv
import hashlib
from datetime import datetime
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("SKIP: python3-selenium is not installed")
    sys.exit(77)

CHROMIUM = shutil.which("chromium")
CHROMEDRIVER = shutil.which("chromedriver")
if not CHROMIUM or not CHROMEDRIVER:
    print("SKIP: chromium and chromium-driver are not installed")
    sys.exit(77)

KVXFLASH, SIM = sys.argv[1], sys.argv[2]
BILDSCHIRM = sys.argv[3] if len(sys.argv) > 3 else None
ORDNER = tempfile.mkdtemp(prefix="werkbankseite-")
PORTS = os.path.join(ORDNER, "ports")
os.mkdir(PORTS)
ABBILD = os.path.join(ORDNER, "fw.bin")
PROTOKOLL = os.path.join(ORDNER, "bank.log")
INHALT = bytes((i * 167 ^ i >> 7) & 0xFF for i in range(3 * 8192 - 100))
with open(ABBILD, "wb") as f:
    f.write(INHALT)
UMGEBUNG = dict(os.environ, KVXLOADER_PORT_DIR=PORTS, KVXLOADER_LANG="de")
UMGEBUNG.pop("QT_QPA_PLATFORM", None)
fehler = []


def pruefe(bedingung, was):
    print(("ok   " if bedingung else "FAIL ") + was, flush=True)
    if not bedingung:
        fehler.append(was)


def bank_starten(serve="127.0.0.1:0", *protokoll):
    bank = subprocess.Popen([KVXFLASH, "--watch", "--serve", serve, "--bench", "Bank 1", "-t", "2", *protokoll,
                             ABBILD],
                            env=UMGEBUNG, stdout=subprocess.PIPE, text=True)
    zeile = bank.stdout.readline()
    assert zeile.startswith("Werkbank-Seite: http://127.0.0.1:"), zeile
    return bank, zeile.split(": ", 1)[1].strip()


def platine(port, *verhalten):
    return subprocess.Popen([SIM, "--dir", PORTS, "--port", str(port), "--flash-ms", "150", *verhalten],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def roh(adresse, anfrage, rcvbuf=None):
    """A client on a socket of its own: the request sent, the socket kept."""
    s = socket.socket()
    if rcvbuf:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, rcvbuf)
    s.connect(adresse)
    s.sendall(anfrage)
    return s


def antwort(s):
    s.settimeout(10)
    try:
        return s.recv(4096).split(b"\r\n", 1)[0].decode("latin-1")
    except OSError as e:
        return str(e)
    finally:
        s.close()


def geschlossen(s):
    s.settimeout(0.5)
    try:
        while True:
            if not s.recv(65536):
                return True
    except socket.timeout:
        return False
    except OSError:
        return True


def websocket(herkunft=None):
    return (b"GET /api/events HTTP/1.1\r\nHost: 127.0.0.1:" + port.encode() + b"\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            b"Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n"
            + (b"Origin: " + herkunft + b"\r\n" if herkunft else b"") + b"\r\n")


bank, url = bank_starten("127.0.0.1:0", "--log", PROTOKOLL)
host, port = url[len("http://"):-1].split(":")
adresse = (host, int(port))

# The API and the hostile clients, before the page is open.
FEINDE = [
    ("POST is refused", b"POST /api/state HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n", "HTTP/1.1 405"),
    ("HEAD is refused", b"HEAD / HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 405"),
    ("an unknown path", b"GET /index.html HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 404"),
    ("no file from disk", b"GET /../../etc/passwd HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 404"),
    ("garbage", b"\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", "HTTP/1.1 400"),
    ("a head over 16 KiB", b"GET / HTTP/1.1\r\nX-Fill: " + b"a" * 17000 + b"\r\n\r\n", "HTTP/1.1 431"),
    ("a head of 16 KiB", b"GET /api/state HTTP/1.1\r\nX: " + b"a" * (16384 - 35) + b"\r\n\r\n", "HTTP/1.1 200"),
    ("a WebSocket from another origin", websocket(b"http://evil.example"), "HTTP/1.1 403"),
    ("a WebSocket from the page's origin", websocket(b"http://127.0.0.1:" + port.encode()), "HTTP/1.1 101"),
    ("records with a bad limit", b"GET /api/records?after=0&limit=-5 HTTP/1.1\r\n\r\n", "HTTP/1.1 400"),
]
for was, anfrage, erwartet in FEINDE:
    gesagt = antwort(roh(adresse, anfrage))
    pruefe(gesagt.startswith(erwartet), f"{was}: {gesagt!r}")

time.sleep(1)  # the clients above are gone
zuschauer = [roh(adresse, b"") for _ in range(64)]
gesagt = antwort(roh(adresse, b"GET / HTTP/1.1\r\n\r\n"))
pruefe(gesagt.startswith("HTTP/1.1 503"), f"the 65th client is refused: {gesagt!r}")
for s in zuschauer:
    s.close()
time.sleep(0.5)
# These two stay until the end: the one never sends, the other never reads.
stumm = roh(adresse, b"")
stumm_seit = time.time()
liest_nicht = roh(adresse, websocket(), rcvbuf=1024)
stand = json.load(urllib.request.urlopen(url + "api/state"))
pruefe(stand["bench"] == "Bank 1" and stand["image"]["sha256"] == hashlib.sha256(INHALT).hexdigest()
       and stand["image"]["pages"] == 3 and stand["seq"] >= 1, "the snapshot names the bench and its image")

optionen = webdriver.ChromeOptions()
optionen.binary_location = CHROMIUM
for schalter in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1400,900",
                 "--user-data-dir=" + os.path.join(ORDNER, "chromium")):
    optionen.add_argument(schalter)
browser = webdriver.Chrome(service=Service(CHROMEDRIVER), options=optionen)
warte = WebDriverWait(browser, 60, poll_frequency=0.05)
platinen = []


def kacheln():
    """The tiles' data- attributes and text, read at one moment."""
    return {k["port"]: k for k in browser.execute_script(
        "return [...document.querySelectorAll('[data-port]')].map(k => Object.assign({text: k.innerText}, k.dataset))")}


def zustand(port):
    return kacheln().get(port, {}).get("state")


try:
    browser.get(url)
    warte.until(lambda b: b.find_element(By.CSS_SELECTOR, "[data-connection]").get_attribute("data-connection") == "live")
    kopf = browser.find_element(By.CSS_SELECTOR, "header")
    pruefe(kopf.get_attribute("data-sha256") == hashlib.sha256(INHALT).hexdigest() and "Bank 1" in kopf.text,
           "the header names the bench and the image's SHA-256")
    # Every DOM change of a tile, with its time, and every event with its own.
    browser.execute_script("""
        window.__dom = []; window.__ereignisse = [];
        new MutationObserver(() => document.querySelectorAll('[data-port]').forEach(k =>
            window.__dom.push([k.dataset.port, k.dataset.state, +k.dataset.page, Date.now()])))
          .observe(document.getElementById('sockel'), {childList: true, subtree: true, attributes: true});
        const ws = new WebSocket('ws://' + location.host + '/api/events');
        ws.onmessage = m => window.__ereignisse.push(JSON.parse(m.data));""")

    # Eight boards in mixed states.
    platinen += [platine(1), platine(2), platine(3, "--wrong-crc"), platine(4, "--silent"),
                 platine(5, "--flash-ms", "2500"), platine(6, "--drop-at", "#2", "--bytes-per-second", "11520"),
                 platine(7), platine(8, "--silent-from", "#2")]
    warte.until(lambda b: zustand("COM5") == "flashing" and int(kacheln()["COM5"]["page"]) >= 1)
    seiten = set()
    warte.until(lambda b: seiten.add(kacheln()["COM5"]["page"]) or len(seiten) >= 2)
    pruefe(True, "the progress moves: pages " + ", ".join(sorted(seiten)))
    warte.until(lambda b: all(zustand(f"COM{n}") in ("ok", "failed", "not_found") for n in (1, 2, 3, 4, 6, 7, 8)))
    gesehen = {p: zustand(p) for p in sorted(kacheln())}
    pruefe(gesehen == {"COM1": "ok", "COM2": "ok", "COM3": "failed", "COM4": "not_found", "COM5": "flashing",
                       "COM6": "failed", "COM7": "ok", "COM8": "failed"}, f"eight tiles in port order: {gesehen}")
    pruefe("Fehler" in kacheln()["COM3"]["text"], "the words say the state")
    if BILDSCHIRM:
        browser.save_screenshot(BILDSCHIRM)
    # COM6 is pulled: its tile stays, marked. The device goes with the
    # board, even when a board killed on a loaded machine left its link.
    platinen[5].terminate()
    platinen[5].wait(30)
    if os.path.lexists(os.path.join(PORTS, "COM6")):
        os.remove(os.path.join(PORTS, "COM6"))
    warte.until(lambda b: kacheln()["COM6"]["present"] == "false")
    warte.until(lambda b: zustand("COM5") == "ok")
    zaehler = {z.get_attribute("data-count"): z.find_element(By.TAG_NAME, "b").text
               for z in browser.find_elements(By.CSS_SELECTOR, "[data-count]")}
    pruefe(zaehler == {"ok": "4", "failed": "3", "not_found": "1", "aborted": "0"}, f"the counters count: {zaehler}")
    pruefe(zustand("COM3") == "failed", "a result stays")
    pruefe(browser.find_element(By.CSS_SELECTOR, "#letztes .gross").text == "PASS", "the last result: PASS on COM5")

    # The log's records and today's figures, read against the log itself.
    with open(PROTOKOLL, newline="") as f:
        im_protokoll = list(csv.DictReader(f, delimiter="\t"))
    eintraege = json.load(urllib.request.urlopen(url + "api/records?after=1&limit=3"))
    pruefe([(e["record"], e["port"], e["result"]) for e in eintraege]
           == [(n + 1, z["port"], z["result"]) for n, z in enumerate(im_protokoll)][1:4],
           f"records 2 to 4 as the log has them: {eintraege}")
    heute = json.load(urllib.request.urlopen(url + "api/stats"))
    pruefe((heute["ok"], heute["failed"], heute["not_found"]) == (4, 3, 1), f"today's figures from the log: {heute}")

    # Event to DOM: from the bench's time stamp to the tile showing it.
    dom = browser.execute_script("return window.__dom")
    ereignisse = browser.execute_script("return window.__ereignisse")
    verzug = []
    for e in ereignisse:
        if e["type"] == "page":
            gezeigt = [t for p, s, seite, t in dom if p == e["port"] and seite == e["page"]]
            if gezeigt:
                verzug.append(min(gezeigt) - datetime.fromisoformat(e["time"]).timestamp() * 1000)
    verzug.sort()
    if verzug:
        print(f"event to DOM: median {verzug[len(verzug) // 2]:.0f} ms, max {verzug[-1]:.0f} ms over {len(verzug)}")

    # English, by the URL.
    browser.get(url + "?lang=en")
    warte.until(lambda b: zustand("COM3") == "failed")
    pruefe("failed" in kacheln()["COM3"]["text"] and "pulled" in kacheln()["COM6"]["text"], "English with ?lang=en")

    # The bench ends: offline within 2 s; a new bench on the same port gives a fresh snapshot.
    bank.send_signal(signal.SIGINT)
    ende = time.time()
    bank.wait(30)
    verbindung = browser.find_element(By.CSS_SELECTOR, "[data-connection]")
    WebDriverWait(browser, 2, poll_frequency=0.05).until(
        lambda b: verbindung.get_attribute("data-connection") == "offline")
    pruefe(time.time() - ende < 2 + 1 and verbindung.text.endswith("Bench offline"), "offline within 2 s")
    bank, _ = bank_starten(f"127.0.0.1:{port}")
    warte.until(lambda b: verbindung.get_attribute("data-connection") == "live")
    warte.until(lambda b: "COM6" not in kacheln())
    pruefe(True, "a fresh snapshot on reconnect: the pulled board of the last run is gone")
    gesagt = antwort(roh(adresse, b"GET /api/records HTTP/1.1\r\n\r\n"))
    pruefe(gesagt.startswith("HTTP/1.1 404"), f"records without a log: {gesagt!r}")

    warte.until(lambda b: time.time() - stumm_seit > 32)
    pruefe(geschlossen(stumm), "a client that sends nothing is closed after 30 s")
    pruefe(geschlossen(liest_nicht), "a WebSocket that does not read is closed")
finally:
    browser.quit()
    bank.send_signal(signal.SIGINT)
    bank.wait(30)
    for p in platinen:
        p.kill()
    shutil.rmtree(ORDNER, ignore_errors=True)

sys.exit(1 if fehler else 0)
