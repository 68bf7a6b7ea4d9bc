#pragma once

#include "serial/comport.h"

#include <QByteArray>

// A port scripted by the test: it keeps what is sent and raises the receive
// and send events exactly when the test says so.
class FakeComPort : public ComPort
{
public:
    bool PortOpen() const override { return true; }
    void setPortOpen(bool) override {}
    void setCommPort(qint16 n) override { nummer = n; }
    QString geraet() const override { return QStringLiteral("/dev/ttyFAKE%1").arg(nummer); }
    std::intptr_t CommID() const override { return -1; }
    std::string Name() const override { return "irda"; }
    qint16 InBufferCount() const override { return qint16(eingang.size()); }
    void setInBufferCount(qint16) override { eingang.clear(); }
    qint16 RThreshold() const override { return r; }
    void setRThreshold(qint16 n) override { r = n; }
    qint16 SThreshold() const override { return s; }
    void setSThreshold(qint16 n) override { s = n; }
    void Output(const QByteArray &bytes) override { gesendet += bytes; }
    QByteArray Input() override { return std::exchange(eingang, {}); }
    qint16 CommEvent() const override { return ereignis; }
    Portfehler fehlerart() const override { return Portfehler::sonstiger; }

    // Bytes arrive from the board.
    void empfange(const QByteArray &bytes)
    {
        eingang += bytes;
        if (r > 0 && eingang.size() >= r)
            melde(comEvReceive);
    }
    // The transmit buffer has drained.
    void sendepufferLeer()
    {
        if (s > 0)
            melde(comEvSend);
    }
    void melde(qint16 e)
    {
        ereignis = e;
        emit OnComm();
    }

    QByteArray gesendet;
    QByteArray eingang;
    qint16 nummer = 1, r = 0, s = 0, ereignis = 0;
};
