#pragma once

#include <QByteArray>

class ComPort;
class Dialoge;
class UploadAnzeige;
class Updatedatei;

// The upload: "P", "e", the address command, one page command per page
// handed over in 512-byte pieces, "$", and the board's CRC compared with the
// image's. Driven only by the click and by the port's events; it never waits.
class Uploadablauf
{
public:
    enum Status : quint8 {
        kein_upload,
        warte_programmiermodus,
        warte_loeschen,
        warte_seite,
        warte_letzte_seite,
        warte_crc,
        upload_fertig,
    };

    static constexpr int paketgroesse = 512;

    Uploadablauf(ComPort &irda, Updatedatei &datei, UploadAnzeige &anzeige, Dialoge &dialoge);

    void Upload_Click();
    // Sends the image the update file holds now, without asking for a file.
    void uploadBeginnen();
    void irda_OnComm();

    // A new detection starts: the board will be asked "S", so the upload
    // must not take its answer. A running upload shows that it was cut off.
    void zurRuhe();
    // The port failed or vanished: a running upload has failed.
    void portVerloren();

    bool laeuft() const { return uploadstatus >= warte_programmiermodus && uploadstatus <= warte_crc; }

    quint8 uploadstatus = kein_upload;
    qint32 seite = 0;
    quint8 paket = 0;
    qint32 adresse = 0;
    QByteArray crcantwort;
    QByteArray empfangsdaten;

private:
    void sendeschritt();
    void empfangsschritt();
    void seitenschritt();
    void ruhezustand();
    QByteArray stueck(int nummer) const;
    QByteArray adressbefehl() const;

    ComPort &irda;
    Updatedatei &m_datei;
    UploadAnzeige &m_anzeige;
    Dialoge &m_dialoge;
};
