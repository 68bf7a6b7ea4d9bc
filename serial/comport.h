#pragma once

#include "serial/portfehler.h"
#include "serial/w32comms.h"

#include <QByteArray>
#include <QObject>

// The serial port as the window's logic sees it: buffered, event-driven input
// and output in the manner of the classic Windows comm control.
//
// Thresholds: while RThreshold is n > 0, OnComm is raised with
// CommEvent() == comEvReceive once at least n bytes wait; while SThreshold is
// 1, it is raised with comEvSend when the transmit buffer has drained.
// OnComm is always delivered from the event loop, never inside a call made on
// the port.
class ComPort : public QObject, public PortHandle
{
    Q_OBJECT
public:
    enum CommEventCode : qint16 { comEvSend = 1, comEvReceive = 2 };

    using QObject::QObject;

    // Opening throws CommError when the port is missing or busy.
    virtual void setPortOpen(bool open) = 0;
    virtual void setCommPort(qint16 number) = 0;
    // The device that opening the port tries.
    virtual QString geraet() const = 0;

    virtual qint16 InBufferCount() const = 0;
    // Only 0 is meaningful, as with the comm control: it discards all waiting input.
    virtual void setInBufferCount(qint16 count) = 0;

    virtual qint16 RThreshold() const = 0;
    virtual void setRThreshold(qint16 count) = 0;
    virtual qint16 SThreshold() const = 0;
    virtual void setSThreshold(qint16 count) = 0;

    // Queues the bytes and returns at once.
    virtual void Output(const QByteArray &bytes) = 0;
    // Takes everything that waits.
    virtual QByteArray Input() = 0;

    virtual qint16 CommEvent() const = 0;

    // Why the last opening failed, or why the open port was lost.
    virtual Portfehler fehlerart() const = 0;

signals:
    void OnComm();
    // The open port failed (write error, adapter unplugged, line hung up);
    // it has been closed already. Also raised for output to a closed port.
    void portFailed();
};
