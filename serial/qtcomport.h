#pragma once

#include "serial/comport.h"

#include <QSerialPort>

// ComPort on QSerialPort. Line settings are those of the comm control as
// created: 9600 bit/s, 8N1, no handshaking; the bit rate is changed afterwards
// only through W32Comms::SetPortBaudRate.
class QtComPort : public ComPort
{
    Q_OBJECT
public:
    explicit QtComPort(QObject *parent = nullptr);

    bool PortOpen() const override;
    void setPortOpen(bool open) override;
    void setCommPort(qint16 number) override;
    // The command line may name any device; it is then opened in place of
    // the COM number's system name.
    void setGeraet(const QString &geraet) { m_geraet = geraet; }
    QString geraet() const override;
    std::intptr_t CommID() const override;
    std::string Name() const override { return "irda"; }

    qint16 InBufferCount() const override;
    void setInBufferCount(qint16 count) override;
    qint16 RThreshold() const override { return m_rThreshold; }
    void setRThreshold(qint16 count) override { m_rThreshold = count; }
    qint16 SThreshold() const override { return m_sThreshold; }
    void setSThreshold(qint16 count) override { m_sThreshold = count; }

    void Output(const QByteArray &bytes) override;
    QByteArray Input() override;
    qint16 CommEvent() const override { return m_commEvent; }
    Portfehler fehlerart() const override { return m_fehlerart; }

private:
    void scheduleCheck(bool &pending, qint16 event);
    bool thresholdReached(qint16 event) const;
    void deliver(qint16 event);
    void reportFailure();

    QSerialPort m_port;
    qint16 m_commPort = 1;
    QString m_geraet;
    qint16 m_rThreshold = 0;
    qint16 m_sThreshold = 0;
    qint16 m_commEvent = 0;
    bool m_receiveCheckPending = false;
    bool m_sendCheckPending = false;
    bool m_failurePending = false;
    Portfehler m_fehlerart = Portfehler::sonstiger;
};
