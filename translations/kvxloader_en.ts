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
    <name>Hilfe</name>
    <message>
        <location filename="../ui/hilfe.cpp" line="+17"/>
        <source>Hilfe</source>
        <translation>Help</translation>
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
        <source>DWQ files (*.dwq)|*.dwq|(*.*)|*.*</source>
        <extracomment>The file dialog&apos;s filters: label|pattern|label|pattern; each label ends with its pattern</extracomment>
        <translation>DWQ files (*.dwq)|*.dwq|All files (*.*)|*.*</translation>
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
        <location line="+50"/>
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
        <location line="+38"/>
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
</TS>
