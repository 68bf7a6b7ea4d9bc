<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>About</name>
    <message>
        <location filename="../ui/about.cpp" line="+24"/>
        <source>Info</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>Brokeradresse</name>
    <message>
        <location filename="../broker/brokeradresse.cpp" line="+13"/>
        <source>--mqtt nimmt mqtt://[BENUTZER@]HOST[:PORT][/PRÄFIX] oder mqtts://…: %1</source>
        <translation>--mqtt takes mqtt://[USER@]HOST[:PORT][/PREFIX] or mqtts://…: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--mqtt kennt nur mqtt:// und mqtts://: %1</source>
        <translation>--mqtt knows only mqtt:// and mqtts://: %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Das Passwort gehört nicht in die URL: KVXFLASH_MQTT_PASSWORD oder --mqtt-password-file.</source>
        <translation>The password does not belong in the URL: use KVXFLASH_MQTT_PASSWORD or --mqtt-password-file.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Der Port in --mqtt muss zwischen 1 und 65535 liegen: %1</source>
        <translation>The port in --mqtt must be between 1 and 65535: %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Das Präfix in --mqtt darf kein + oder # enthalten: %1</source>
        <translation>The prefix in --mqtt must not contain + or #: %1</translation>
    </message>
</context>
<context>
    <name>Brokerbote</name>
    <message>
        <location filename="../broker/brokerbote.cpp" line="+128"/>
        <source>Broker nicht erreichbar: %1 – Einträge werden aufbewahrt (%2)</source>
        <translation>Broker unreachable: %1 – records kept (%2)</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Broker lehnt die Anmeldung ab: %1 – Einträge werden aufbewahrt (%2)</source>
        <translation>Broker refused the login: %1 – records kept (%2)</translation>
    </message>
</context>
<context>
    <name>Hilfe</name>
    <message>
        <location filename="../ui/hilfe.cpp" line="+17"/>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>Meldungen</name>
    <message>
        <location filename="../cli/meldungen.h" line="+12"/>
        <source>Die Standardausgabe lässt sich nicht schreiben: %1</source>
        <translation>Standard output cannot be written: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Das Protokoll %1 lässt sich nicht schreiben: %2</source>
        <translation>The log %1 cannot be written: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Der Postausgang %1 lässt sich nicht schreiben: %2</source>
        <translation>The outbox %1 cannot be written: %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Einträge an %1, über den Postausgang %2</source>
        <translation>Records to %1, through the outbox %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Vom Broker nicht bestätigt, im Postausgang %1 aufbewahrt: %2</source>
        <translation>Not acknowledged by the broker, kept in the outbox %1: %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Es werden keine weiteren Platinen angenommen; laufende werden fertig.</source>
        <translation>No further boards are taken; those at work are finished.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Nicht im Protokoll: %1</source>
        <translation>Not in the log: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>1 Seite</source>
        <translation>1 page</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 Seiten</source>
        <translation>%1 pages</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>abgebrochen bei Seite %1 von %2</source>
        <translation>stopped at page %1 of %2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Abbild %1: %2, CRC-32 %3</source>
        <translation>Image %1: %2, CRC-32 %3</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Ports: jeder USB-Seriell-Port</source>
        <translation>Ports: every USB serial port</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ports: jeder USB-Seriell-Port mit %1</source>
        <translation>Ports: every USB serial port with %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Ports: %1</source>
        <translation>Ports: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 Versuche</source>
        <translation>%1 attempts</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>SN %1</source>
        <translation>SN %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 kB/s  noch %2 s</source>
        <translation>%1 kB/s  %2 s left</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Hilfe: kvxflash --help</source>
        <translation>Help: kvxflash --help</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Seriennummer %1</source>
        <translation>serial number %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Protokoll: %1</source>
        <translation>Log: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Protokoll: keines (--log DATEI schreibt eines)</source>
        <translation>Log: none (--log FILE writes one)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Warte auf Platinen … (Strg+C beendet)</source>
        <translation>Waiting for boards … (Ctrl+C ends)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 erfolgreich, %2 fehlgeschlagen</source>
        <translation>%1 succeeded, %2 failed</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>, %1 ohne Bootloader</source>
        <translation>, %1 without bootloader</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>, %1 abgebrochen</source>
        <translation>, %1 aborted</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Kein USB-Seriell-Port gefunden; kvxflash --list zeigt alle Ports.</source>
        <translation>No USB serial port found; kvxflash --list shows every port.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Mehrere Platinen antworten (%1): mit -p wählen oder -p auto für alle.</source>
        <translation>Several boards answer (%1): choose one with -p, or use -p auto for all.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Argument in der Zeichenkodierung des Systems ungültig: %1</source>
        <translation>Argument not valid in the system&apos;s character encoding: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Leere Portangabe bei -p.</source>
        <translation>Empty port given with -p.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Port %1: Wert muss zwischen 1 und 20 liegen.</source>
        <translation>Port %1: the value must be between 1 and 20.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>--sn muss ADRESSE:GRÖSSE[:FORM] sein, GRÖSSE 1 bis 16, FORM le, be oder ascii: %1</source>
        <translation>--sn must be ADDRESS:SIZE[:FORMAT], SIZE 1 to 16, FORMAT le, be or ascii: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Der Zähler %1 wird von einem anderen kvxflash benutzt.</source>
        <translation>The counter %1 is in use by another kvxflash.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Der Zähler %1 lässt sich nicht lesen: %2</source>
        <translation>The counter %1 cannot be read: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Der Zähler %1 lässt sich nicht schreiben: %2</source>
        <translation>The counter %1 cannot be written: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Die Seriennummer %1 passt nicht in %2 Bytes.</source>
        <translation>The serial number %1 does not fit into %2 bytes.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Das Feld für die Seriennummer liegt nicht im Abbild (%1 Bytes).</source>
        <translation>The serial number field lies outside the image (%1 bytes).</translation>
    </message>
    <message>
        <source>Ausbeute %1, im ersten Versuch %2</source>
        <translation>Yield %1, first pass %2</translation>
    </message>
    <message>
        <source>%1 Platinen je Stunde, %2 bis %3</source>
        <translation>%1 boards per hour, %2 to %3</translation>
    </message>
    <message>
        <source>%1, Zeile %2: kein Protokolleintrag, nicht mitgezählt</source>
        <translation>%1, line %2: not a record, not counted</translation>
    </message>
    <message>
        <source>größer als %1 MiB</source>
        <translation>larger than %1 MiB</translation>
    </message>
    <message>
        <source>Der Zähler %1 enthält keine Zahl: nur Ziffern und ein Zeilenende sind erlaubt.</source>
        <translation>The counter %1 holds no number: only digits and a line end are allowed.</translation>
    </message>
    <message>
        <source>Der Zähler %1 ist am Ende: es gibt keine weitere Nummer.</source>
        <translation>The counter %1 has run out: there is no further number.</translation>
    </message>
    <message>
        <source>%1 von %2 Seiten gesendet</source>
        <translation>%1 of %2 pages sent</translation>
    </message>
    <message>
        <source>Seite %1 von %2</source>
        <translation>page %1 of %2</translation>
    </message>
    <message>
        <source>Keine Antwort auf %1 in %2 s.</source>
        <translation>No answer to %1 in %2 s.</translation>
    </message>
    <message>
        <source>Kein CR nach %1, sondern %2.</source>
        <translation>No CR after %1 but %2.</translation>
    </message>
    <message>
        <source>CRC der Platine %1, erwartet %2.</source>
        <translation>The board&#x27;s CRC %1, expected %2.</translation>
    </message>
    <message>
        <source>Verbindung verloren vor der Antwort auf %1.</source>
        <translation>Connection lost before the answer to %1.</translation>
    </message>
    <message>
        <source>Vor dem Upload: die Platine blieb unberührt.</source>
        <translation>Before the upload: the board was not touched.</translation>
    </message>
    <message>
        <source>Die Seriennummer %1 liegt hinter der letzten dieser Werkbank, %2 (--sn-last).</source>
        <translation>The serial number %1 lies beyond this bench&#x27;s last, %2 (--sn-last).</translation>
    </message>
    <message>
        <source>Die Datei ist nicht das erwartete Abbild.</source>
        <translation>The file is not the expected image.</translation>
    </message>
    <message>
        <source>SHA-256 %1, erwartet %2 (--expect-sha256).</source>
        <translation>SHA-256 %1, expected %2 (--expect-sha256).</translation>
    </message>
    <message>
        <source>Das Feld für die Seriennummer (0x%1, %2 Bytes) ist im Abbild belegt: %3. --sn-overwrite schreibt darüber.</source>
        <translation>The serial number&#x27;s field (0x%1, %2 bytes) holds data in the image: %3. --sn-overwrite writes over it.</translation>
    </message>
    <message>
        <source>Die letzte Seriennummer dieser Werkbank, %1, ist vergeben.</source>
        <translation>This bench&#x27;s last serial number, %1, has been given.</translation>
    </message>
</context>
<context>
    <name>Optionen</name>
    <message>
        <location filename="../cli/optionen.cpp" line="+11"/>
        <source>Schreibt ein Firmware-Update über den DWQ-Bootloader in eine oder mehrere
KVX-Platinen, auf mehreren Ports gleichzeitig.

  kvxflash [-p PORT]... [-t SEK] [-r N] [--sn ...] [--json] [-q] DATEI
  kvxflash --list [--probe] [--json]
  kvxflash --watch [-p auto | -p PORT...] [--usb VID:PID] [--serial SN]
           [--log DATEI] [--serve [ADRESSE:]PORT] [--mqtt URL] [--bench NAME]
           [--sn ...] [-t SEK] [-r N] [--json] DATEI
  kvxflash --info [--raw] [--json] DATEI
  kvxflash --stats PROTOKOLL [--since ZEIT] [--json]

PORT ist eine COM-Nummer 1 bis 20 wie im Fenster von KVXLoader (unter Linux
COM n = /dev/ttyUSB&lt;n-1&gt;, mit KVXLOADER_PORT_DIR die Datei COM&lt;n&gt; dort),
COMn, ein Gerätepfad oder auto (jeder USB-Seriell-Port, an dem ein
DWQ-Bootloader antwortet). Ohne -p wird die eine Platine geflasht, deren
Bootloader antwortet.

Exit-Status: 0 alle Platinen erfolgreich, 1 Aufruffehler, 2 Datei abgelehnt,
3 Bootloader nicht gefunden, 4 Portproblem, 5 Zeitüberschreitung,
6 falsche Antwort oder CRC verschieden, 7 Protokoll oder Ausgabe nicht
geschrieben, 130 abgebrochen. Bei mehreren Platinen zählt die erste
fehlgeschlagene in der Reihenfolge der Ports.

Intel HEX, S-Record und ELF werden am Inhalt erkannt und ab Adresse 0 in
das Abbild gelegt, Lücken mit 0xFF gefüllt; jede andere Datei wird Byte
für Byte gesendet.

--watch flasht jede Platine, die angesteckt wird, einmal, bis Strg+C.</source>
        <translation>Writes a firmware update through the DWQ bootloader into one or more
KVX boards, on several ports at once.

  kvxflash [-p PORT]... [-t SEC] [-r N] [--sn ...] [--json] [-q] FILE
  kvxflash --list [--probe] [--json]
  kvxflash --watch [-p auto | -p PORT...] [--usb VID:PID] [--serial SN]
           [--log FILE] [--serve [ADDRESS:]PORT] [--mqtt URL] [--bench NAME]
           [--sn ...] [-t SEC] [-r N] [--json] FILE
  kvxflash --info [--raw] [--json] FILE
  kvxflash --stats LOG [--since TIME] [--json]

PORT is a COM number 1 to 20 as in KVXLoader&apos;s window (on Linux
COM n = /dev/ttyUSB&lt;n-1&gt;, with KVXLOADER_PORT_DIR the file COM&lt;n&gt; there),
COMn, a device path, or auto (every USB serial port where a DWQ bootloader
answers). Without -p the one board whose bootloader answers is flashed.

Exit status: 0 all boards succeeded, 1 usage error, 2 file refused,
3 bootloader not found, 4 port problem, 5 time-out, 6 wrong answer or CRC
differs, 7 record or output not written, 130 interrupted. With several
boards the first failed one in the order of the ports decides.

Intel HEX, S-record and ELF are recognised by their content and laid into
the image from address 0, gaps filled with 0xFF; any other file is sent
byte for byte.

--watch flashes every board that is plugged in once, until Ctrl+C.</translation>
    </message>
    <message>
        <location filename="../cli/brokeroptionen.cpp" line="+21"/>
        <source>Jeden Eintrag auch an diesen MQTT-Broker senden, über einen Postausgang auf der Platte.</source>
        <translation>Send every record to this MQTT broker too, through an outbox on disk.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+2"/>
        <location line="+2"/>
        <location filename="../cli/optionen.cpp" line="+63"/>
        <source>DATEI</source>
        <translation>FILE</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Mit mqtts://: die Zertifizierungsstelle des Brokers.</source>
        <translation>With mqtts://: the broker's certificate authority.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Das Passwort für den Broker aus DATEI (sonst aus KVXFLASH_MQTT_PASSWORD).</source>
        <translation>The broker's password from FILE (else from KVXFLASH_MQTT_PASSWORD).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Der Postausgang (Vorgabe: neben dem Protokoll DATEI.outbox, ohne --log ~/.local/share/kvxflash/outbox).</source>
        <translation>The outbox (default: beside the log, FILE.outbox; without --log ~/.local/share/kvxflash/outbox).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Am Ende höchstens so lange auf die Bestätigung des Brokers warten (Vorgabe 10).</source>
        <translation>At the end, wait at most this long for the broker's acknowledgement (default 10).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Der Name dieser Werkbank (Vorgabe: der Rechnername).</source>
        <translation>This bench's name (default: the host name).</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>--mqtt-ca, --mqtt-password-file, --mqtt-outbox und --mqtt-wait gehören zu --mqtt.</source>
        <translation>--mqtt-ca, --mqtt-password-file, --mqtt-outbox and --mqtt-wait belong to --mqtt.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>mqtts:// braucht --mqtt-ca DATEI.</source>
        <translation>mqtts:// needs --mqtt-ca FILE.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Die CA-Datei lässt sich nicht lesen: %1</source>
        <translation>The CA file cannot be read: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Die Passwortdatei lässt sich nicht lesen: %1</source>
        <translation>The password file cannot be read: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>--mqtt-wait muss zwischen 0 und 3600 Sekunden liegen: %1</source>
        <translation>--mqtt-wait must be between 0 and 3600 seconds: %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Der Name der Werkbank darf nicht leer sein und kein /, + oder # enthalten: %1</source>
        <translation>The bench's name must not be empty nor contain /, + or #: %1</translation>
    </message>
    <message>
        <location filename="../cli/optionen.cpp" line="+1"/>
        <source>Port der Platine; mehrfach für mehrere Platinen (Vorgabe: die eine, die antwortet).</source>
        <translation>Port of the board; repeat for several boards (default: the one board that answers).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Längste Wartezeit auf eine Antwort der Platine in Sekunden (Vorgabe 5; für eine Seite kommen 0,71 s Leitungszeit hinzu).</source>
        <translation>Longest wait for an answer of the board, in seconds (default 5; a page adds 0.71 s on the line).</translation>
    </message>
    <message>
        <location filename="../cli/brokeroptionen.cpp" line="-54"/>
        <location filename="../cli/optionen.cpp" line="+2"/>
        <source>SEK</source>
        <translation>SEC</translation>
    </message>
    <message>
        <location filename="../cli/optionen.cpp" line="+2"/>
        <source>Nach einem Fehler (außer einer abgelehnten Datei) die Platine bis zu N-mal neu beginnen (Vorgabe 0).</source>
        <translation>After a failure (other than a refused file) start the board again, up to N times (default 0).</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Je Platine ein JSON-Objekt in einer Zeile, wenn sie fertig ist.</source>
        <translation>One JSON object on one line per board, when it is done.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nur die Schlusszeile jeder Platine.</source>
        <translation>Only each board&apos;s final line.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Serielle Ports auflisten.</source>
        <translation>List the serial ports.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mit --list: an jedem Port nach dem DWQ-Bootloader fragen.</source>
        <translation>With --list: ask every port for the DWQ bootloader.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Jede angesteckte Platine einmal flashen, bis Strg+C.</source>
        <translation>Flash every board plugged in once, until Ctrl+C.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mit --watch: nur USB-Ports mit dieser Kennung (hex).</source>
        <translation>With --watch: only USB ports with this ID (hex).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mit --watch: nur USB-Ports mit dieser Seriennummer.</source>
        <translation>With --watch: only USB ports with this serial number.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mit --watch: je Platine eine Zeile an DATEI anhängen.</source>
        <translation>With --watch: append one line per board to FILE.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Je Platine eine eigene Seriennummer ins Abbild schreiben: GRÖSSE Bytes (1 bis 16) ab ADRESSE, FORM le (Vorgabe), be oder ascii.</source>
        <translation>Write a serial number of its own into each board&apos;s image: SIZE bytes (1 to 16) at ADDRESS, FORMAT le (default), be or ascii.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ADRESSE:GRÖSSE[:FORM]</source>
        <translation>ADDRESS:SIZE[:FORMAT]</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Mit --sn: die Datei mit der nächsten Seriennummer.</source>
        <translation>With --sn: the file that holds the next serial number.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Mit --sn: die erste Seriennummer, wenn der Zähler nicht weiter ist (Vorgabe 1).</source>
        <translation>With --sn: the first serial number, unless the counter is further (default 1).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sprache der Ausgabe: de oder en (Vorgabe: KVXLOADER_LANG, sonst die des Systems).</source>
        <translation>Language of the output: de or en (default: KVXLOADER_LANG, else the system&apos;s).</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>SPRACHE</source>
        <translation>LANGUAGE</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Die Datei unverändert senden, auch Intel HEX, S-Record oder ELF.</source>
        <translation>Send the file as it is, even Intel HEX, S-record or ELF.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Format, Adressen, Seiten, CRC-32 und SHA-256 der Datei zeigen, ohne einen Port zu berühren.</source>
        <translation>Show the file&apos;s format, addresses, pages, CRC-32 and SHA-256, touching no port.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Die Update-Datei (*.dwq, Intel HEX, S-Record, ELF).</source>
        <translation>The update file (*.dwq, Intel HEX, S-record, ELF).</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>--lang nimmt de oder en: %1</source>
        <translation>--lang takes de or en: %1</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Zeitlimit muss zwischen 0,05 und 3600 Sekunden liegen: %1</source>
        <translation>The time limit must lie between 0.05 and 3600 seconds: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Wiederholungen muss eine Zahl von 0 bis 1000 sein: %1</source>
        <translation>Retries must be a number from 0 to 1000: %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>--sn-first muss eine Zahl sein: %1</source>
        <translation>--sn-first must be a number: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--sn und --sn-counter gehören zusammen; --sn-first nur mit ihnen.</source>
        <translation>--sn and --sn-counter go together; --sn-first only with them.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>--list nimmt kein --sn.</source>
        <translation>--list takes no --sn.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>USB-Kennung muss VID:PID in hex sein, z. B. 0403:6001: %1</source>
        <translation>The USB ID must be VID:PID in hex, e.g. 0403:6001: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>-p auto steht allein.</source>
        <translation>-p auto stands alone.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Port doppelt angegeben: %1</source>
        <translation>Port given twice: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>--list nimmt keine Datei.</source>
        <translation>--list takes no file.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Keine Update-Datei angegeben.</source>
        <translation>No update file given.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nur eine Update-Datei angeben.</source>
        <translation>Give only one update file.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--probe gehört zu --list.</source>
        <translation>--probe belongs to --list.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>--usb, --serial und --log gehören zu --watch.</source>
        <translation>--usb, --serial and --log belong to --watch.</translation>
    </message>
    <message>
        <source>Schichtzahlen aus einem Protokoll von --watch --log: Ergebnisse, Ausbeute, Platinen je Stunde.</source>
        <translation>Shift figures from a log of --watch --log: results, yield, boards per hour.</translation>
    </message>
    <message>
        <source>PROTOKOLL</source>
        <translation>LOG</translation>
    </message>
    <message>
        <source>Mit --stats: nur Einträge ab ZEIT (ISO 8601 wie im Protokoll, oder today).</source>
        <translation>With --stats: only records from TIME on (ISO 8601 as in the log, or today).</translation>
    </message>
    <message>
        <source>ZEIT</source>
        <translation>TIME</translation>
    </message>
    <message>
        <source>--since nimmt eine Zeit nach ISO 8601, z. B. 2026-03-02T06:00:00+01:00, oder today: %1</source>
        <translation>--since takes an ISO 8601 time, e.g. 2026-03-02T06:00:00+01:00, or today: %1</translation>
    </message>
    <message>
        <source>--since gehört zu --stats.</source>
        <translation>--since belongs to --stats.</translation>
    </message>
    <message>
        <source>--stats nimmt keine Update-Datei.</source>
        <translation>--stats takes no update file.</translation>
    </message>
    <message>
        <source>--log braucht eine Datei.</source>
        <translation>--log needs a file.</translation>
    </message>
    <message>
        <source>Mit --sn: die letzte Seriennummer dieser Werkbank; eine Platine, die eine weitere bräuchte, schlägt fehl, und --watch nimmt keine weitere an.</source>
        <translation>With --sn: this bench&#x27;s last serial number; a board that would need another fails, and --watch takes no further boards.</translation>
    </message>
    <message>
        <source>Mit --sn: das Feld auch beschreiben, wenn seine Bytes im Abbild nicht alle 0xFF sind.</source>
        <translation>With --sn: write the field even when its bytes in the image are not all 0xFF.</translation>
    </message>
    <message>
        <source>Nur das Abbild mit dieser SHA-256 annehmen, jedes andere ablehnen (Status 2).</source>
        <translation>Take only the image with this SHA-256, refuse any other (status 2).</translation>
    </message>
    <message>
        <source>--sn-last muss eine Zahl sein: %1</source>
        <translation>--sn-last must be a number: %1</translation>
    </message>
    <message>
        <source>--sn-last und --sn-overwrite gehören zu --sn.</source>
        <translation>--sn-last and --sn-overwrite belong to --sn.</translation>
    </message>
    <message>
        <source>--expect-sha256 nimmt 64 Hex-Ziffern: %1</source>
        <translation>--expect-sha256 takes 64 hex digits: %1</translation>
    </message>
    <message>
        <source>Die Werkbank-Seite im Browser zeigen, auf PORT (0: ein freier) an ADRESSE (Vorgabe 127.0.0.1, nur dieser Rechner).</source>
        <translation>Serve the bench page for a browser on PORT (0: a free one) at ADDRESS (default 127.0.0.1, this computer only).</translation>
    </message>
    <message>
        <source>[ADRESSE:]PORT</source>
        <translation>[ADDRESS:]PORT</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>--serve nimmt [ADRESSE:]PORT, z. B. 8080 oder 0.0.0.0:8080: %1</source>
        <translation>--serve takes [ADDRESS:]PORT, e.g. 8080 or 0.0.0.0:8080: %1</translation>
    </message>
    <message>
        <source>--serve gehört zu einem Lauf oder zu --watch.</source>
        <translation>--serve belongs to a flashing run or to --watch.</translation>
    </message>
</context>
<context>
    <name>Texte</name>
    <message>
        <location filename="../core/texte.h" line="+13"/>
        <source>KVXLoader</source>
        <translation>KVXLoader</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Schreibt ein Firmware-Update über den DWQ-Bootloader in das KVX-Board.</source>
        <translation>Writes a firmware update into the KVX-Board through its DWQ bootloader.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Portproblem</source>
        <translation>Port problem</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>COM %1 nicht verfügbar !</source>
        <translation>COM %1 not available!</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Versucht: %1 – %2</source>
        <extracomment>%1 is the device tried, %2 why it failed (a phrase ending with a full stop)</extracomment>
        <translation>Tried: %1 – %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>nicht vorhanden.</source>
        <translation>not present.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>keine Berechtigung.</source>
        <translation>no permission.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Nach der Installation des Pakets einmal ab- und wieder anmelden, oder den Benutzer der Gruppe dialout hinzufügen.</source>
        <translation>After installing the package, log out and in again once, or add the user to the group dialout.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>von einem anderen Programm belegt.</source>
        <translation>in use by another program.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Verbindung verloren.</source>
        <translation>connection lost.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>lässt sich nicht auf 115200 bit/s einstellen.</source>
        <translation>cannot be set to 115200 bit/s.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>lässt sich nicht öffnen.</source>
        <translation>cannot be opened.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Vorhandene Ports: </source>
        <translation>Available ports: </translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Keine anderen COM-Ports gefunden.</source>
        <translation>No other COM ports found.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Wert muß zwischen 1 und 20 liegen !</source>
        <translation>The value must be between 1 and 20!</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Suche DWQ-Bootloader...</source>
        <translation>Looking for the DWQ bootloader...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>DWQ-Bootloader gefunden !</source>
        <translation>DWQ bootloader found!</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>DWQ-Bootloader nicht gefunden !</source>
        <translation>DWQ bootloader not found!</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Die Datei wurde nicht gelesen !</source>
        <translation>The file was not read!</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>ist ein Ordner.</source>
        <translation>is a folder.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>ist keine normale Datei.</source>
        <translation>is not a regular file.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>lässt sich nicht lesen: %1.</source>
        <translation>cannot be read: %1.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Die Datei ist leer !</source>
        <translation>The file is empty!</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Filesize too big !<byte value="xd"/>
Len is  %1 Bytes</source>
        <extracomment>Two lines; %1 is the file&apos;s size in bytes</extracomment>
        <translation>File too big!
It has %1 bytes; at most 122880 fit.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>DWQ files (*.dwq)|*.dwq|Intel HEX, S-Record, ELF (*.hex *.ihex *.srec *.s19 *.s28 *.s37 *.elf)|*.hex;*.ihex;*.srec;*.s19;*.s28;*.s37;*.elf|(*.*)|*.*</source>
        <extracomment>The file dialog&apos;s filters: label|pattern|...; each label ends with its patterns, the DWQ files&apos; first</extracomment>
        <translation>DWQ files (*.dwq)|*.dwq|Intel HEX, S-record, ELF (*.hex *.ihex *.srec *.s19 *.s28 *.s37 *.elf)|*.hex;*.ihex;*.srec;*.s19;*.s28;*.s37;*.elf|All files (*.*)|*.*</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Zeile %1</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Segment %1</source>
        <translation>Segment %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: kein gültiger Datensatz.</source>
        <translation>%1: not a valid record.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: Datensatz unvollständig.</source>
        <translation>%1: record incomplete.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: Prüfsumme falsch.</source>
        <translation>%1: wrong checksum.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: Adresse %2 ist schon mit anderen Bytes belegt.</source>
        <translation>%1: address %2 already holds other bytes.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1: Datensatz nach dem Schlussdatensatz.</source>
        <translation>%1: record after the end record.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Der Schlussdatensatz fehlt: die Datei ist unvollständig.</source>
        <translation>The end record is missing: the file is incomplete.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: Die Zahl der Datensätze stimmt nicht.</source>
        <translation>%1: the record count does not match.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Der ELF-Kopf ist unvollständig oder fehlerhaft.</source>
        <translation>The ELF header is incomplete or damaged.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1: reicht über das Dateiende hinaus.</source>
        <translation>%1: reaches beyond the end of the file.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Die Datei enthält keine Bytes für den Flash.</source>
        <translation>The file holds no bytes for the flash.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Höchste Adresse: %1</source>
        <translation>Highest address: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Hochladen...</source>
        <translation>Uploading...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Prüfen...</source>
        <translation>Checking...</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Update erfolgreich ausgeführt !</source>
        <translation>Update completed successfully!</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Update fehlgeschlagen !</source>
        <translation>Update failed!</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Update abgebrochen !</source>
        <translation>Update aborted!</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Es ist ein Fehler aufgetreten !</source>
        <translation>An error has occurred!</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Com-Port</source>
        <translation>COM port</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>DWQ Update</source>
        <translation>DWQ update</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Update-Datei wählen und senden</source>
        <translation>Choose &amp;update file and send</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Info</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>3</source>
        <extracomment>The port field&apos;s number before the first search</extracomment>
        <translation>3</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 nicht verfügbar !</source>
        <translation>%1 not available!</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Keine Antwort der Platine nach %1 s !</source>
        <extracomment>%1 is the time-out in seconds</extracomment>
        <translation>No answer from the board after %1 s!</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Versuch %1 von %2</source>
        <translation>Attempt %1 of %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Seite %1/%2</source>
        <translation>Page %1/%2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>An keinem Port antwortet ein DWQ-Bootloader !</source>
        <translation>No DWQ bootloader answers on any port!</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Rohdaten</source>
        <translation>raw data</translation>
    </message>
    <message>
        <source>Ein Segment beginnt in den Köpfen der ELF-Datei: sie werden mitgeflasht.</source>
        <translation>A segment begins within the ELF file's own headers: they are flashed with it.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Datei:      %1
Format:     %2
Adressen:   %3 bis %4
Datenbytes: %5
Seiten:     %6
CRC-32:     %7
SHA-256:    %8</source>
        <translation>File:       %1
Format:     %2
Addresses:  %3 to %4
Data bytes: %5
Pages:      %6
CRC-32:     %7
SHA-256:    %8</translation>
    </message>
    <message>
        <source>Datei oder Ordner nicht vorhanden</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>Keine Berechtigung</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>Ist ein Ordner</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>Ein Teil des Pfads ist kein Ordner</source>
        <translation>Part of the path is not a directory</translation>
    </message>
    <message>
        <source>Kein Platz mehr auf dem Datenträger</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>Das Dateisystem ist nur lesbar</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>Gerät oder Datei belegt</source>
        <translation>Device or resource busy</translation>
    </message>
    <message>
        <source>Ein-/Ausgabefehler</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>%1: mehr Bytes in der Datei als im Speicher.</source>
        <translation>%1: more bytes in the file than in memory.</translation>
    </message>
</context>
<context>
    <name>kvxboard-sim</name>
    <message>
        <location filename="../tools/kvxboard-sim/main.cpp" line="+26"/>
        <source>Aufruf: kvxboard-sim --dir ORDNER [Optionen]
Simuliert den DWQ-Bootloader des KVX-Boards auf einem Pseudoterminal, verlinkt als ORDNER/COM&lt;n&gt;.
  --dir ORDNER            Ordner für den Link COM&lt;n&gt; (wird angelegt, wenn er fehlt)
  --port N[-M]            Portnummer oder Bereich, wiederholbar: je eine Platine (Vorgabe 3);
                          bei mehreren Platinen wird an jede Datei unten .COM&lt;n&gt; angehängt
  --pace                  im Tempo einer Leitung mit 115200 bit/s 8N1 (11520 Bytes/s)
  --bytes-per-second N    Tempo in Bytes pro Sekunde (0 = unbegrenzt)
  --flash-ms N            nach jeder Seite N ms warten, bevor die Antwort kommt
  --silent                nie antworten
  --answer TEXT           Antwort auf &quot;S&quot; (Vorgabe AVRB128; \r für CR)
  --answer-delay-ms N     &quot;S&quot; erst nach N ms beantworten
  --no-cr-after SCHRITT   bei SCHRITT &quot;?&quot; statt CR antworten (e, #N, ...)
  --wrong-crc             eine CRC mit gekippten Bits antworten
  --crc-extra-byte        nach den vier CRC-Bytes noch ein CR senden
  --early-answer K        CR schon nach K Datenbytes jeder Seite antworten
  --silent-from SCHRITT   ab SCHRITT nichts mehr antworten
  --flood-from SCHRITT    ab SCHRITT ohne Ende &apos;~&apos; senden
  --drop-at SCHRITT       bei SCHRITT die Leitung auflegen, statt zu antworten
  --reconnect-ms N        nach --drop-at nach N ms ein neues Pseudoterminal verlinken
  --noise SEED:ANZAHL[:SPANNE]  ANZAHL Zufallsbytes in den ersten SPANNE Bytes vom Host
  --trace DATEI           Befehlsprotokoll, eine Zeile je Befehl
  --received DATEI        die empfangenen Bytes, roh
  --flash DATEI           das Flash-Abbild
  --help                  dieser Text
  --version               Programmversion
Schritte: S, P, e, A, #1..#15 (n-ter Seitenbefehl seit P), $.
</source>
        <extracomment>The --help text: keep the option names and the column where the explanations start</extracomment>
        <translation>Usage: kvxboard-sim --dir DIR [options]
Simulates the KVX-Board&apos;s DWQ bootloader on a pseudo-terminal linked as DIR/COM&lt;n&gt;.
  --dir DIR               folder for the COM&lt;n&gt; link (created if missing)
  --port N[-M]            port number or range, repeatable: one board each (default 3);
                          with several boards each file below gets .COM&lt;n&gt; appended
  --pace                  at the pace of a 115200 bit/s 8N1 line (11520 bytes/s)
  --bytes-per-second N    pace in bytes per second (0 = unlimited)
  --flash-ms N            wait N ms after each page before answering
  --silent                never answer
  --answer TEXT           answer to &quot;S&quot; (default AVRB128; \r for CR)
  --answer-delay-ms N     answer &quot;S&quot; only after N ms
  --no-cr-after STEP      answer &quot;?&quot; instead of CR at STEP (e, #N, ...)
  --wrong-crc             answer a CRC with flipped bits
  --crc-extra-byte        send a CR after the four CRC bytes
  --early-answer K        answer CR already after K data bytes of each page
  --silent-from STEP      answer nothing from STEP on
  --flood-from STEP       from STEP on send &apos;~&apos; without end
  --drop-at STEP          hang up the line at STEP instead of answering
  --reconnect-ms N        after --drop-at, link a new pseudo-terminal after N ms
  --noise SEED:COUNT[:SPAN]  COUNT random bytes within the first SPAN bytes from the host
  --trace FILE            command trace, one line per command
  --received FILE         the bytes received, raw
  --flash FILE            the flash image
  --help                  this text
  --version               program version
Steps: S, P, e, A, #1..#15 (n-th page command since P), $.
</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>Ungültige Zahl für %1: %2</source>
        <translation>bad number for %1: %2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 lässt sich nicht schreiben: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pseudoterminal für %1 lässt sich nicht anlegen: %2</source>
        <translation>cannot create the pseudo-terminal linked as %1: %2</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>%1 braucht einen Wert</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>Ungültiger Wert für --noise: %1</source>
        <translation>bad --noise value: %1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Unbekannte Option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>--dir fehlt</source>
        <translation>--dir is required</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Ordner %1 lässt sich nicht anlegen: %2</source>
        <translation>cannot create the folder %1: %2</translation>
    </message>
</context>
<context>
    <name>Seitentexte</name>
    <message>
        <source>Die Werkbank-Seite lässt sich nicht auf %1 Port %2 anbieten: %3</source>
        <translation>The bench page cannot be served at %1 port %2: %3</translation>
    </message>
    <message>
        <source>Werkbank-Seite: %1</source>
        <translation>Bench page: %1</translation>
    </message>
</context>
</TS>
