#include "serial/qtcomport.h"

#include "serial/portnamen.h"

#include <QFile>

#include <limits>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

namespace {

// QSerialPort::Handle is a descriptor on POSIX and a HANDLE on Windows.
[[maybe_unused]] std::intptr_t toCommID(int descriptor) { return descriptor; }
[[maybe_unused]] std::intptr_t toCommID(void *handle) { return reinterpret_cast<std::intptr_t>(handle); }

constexpr int invalidPortNumber = 8002;
// The board never says more than a few bytes at a time: a board that floods
// fills this much and is then held back by the line, so that it costs no
// more memory however long it goes on.
constexpr qint64 groessteEingabe = 64 * 1024;

// A read that found nothing, for instance right after the input was
// discarded, is reported like an error; only a hang-up or a device error
// means that the port is gone.
bool aufgelegt(QSerialPort &port)
{
#ifdef Q_OS_WIN
    Q_UNUSED(port);
    return true;
#else
    pollfd zustand{port.handle(), POLLIN, 0};
    return ::poll(&zustand, 1, 0) < 0 || (zustand.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#endif
}

// Why opening the device failed, as far as the system tells.
Portfehler oeffnungsfehler(QSerialPort::SerialPortError fehler, [[maybe_unused]] const QString &geraet)
{
    switch (fehler) {
    case QSerialPort::DeviceNotFoundError:
        return Portfehler::nichtVorhanden;
    case QSerialPort::PermissionError:
#ifdef Q_OS_WIN
        // Windows lends a COM port to one program at a time and denies it to the others.
        return Portfehler::belegt;
#else
        // A port locked or held exclusively by another program is reported as
        // a permission error too; the device's own rights tell them apart.
        return faccessat(AT_FDCWD, QFile::encodeName(geraet).constData(), R_OK | W_OK, AT_EACCESS) == 0
            ? Portfehler::belegt : Portfehler::keineBerechtigung;
#endif
    default:
        return Portfehler::sonstiger;
    }
}

} // namespace

QtComPort::QtComPort(QObject *parent)
    : ComPort(parent)
{
    m_port.setReadBufferSize(groessteEingabe);
    connect(&m_port, &QSerialPort::readyRead, this, [this] { scheduleCheck(m_receiveCheckPending, comEvReceive); });
    connect(&m_port, &QSerialPort::bytesWritten, this, [this] { scheduleCheck(m_sendCheckPending, comEvSend); });
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // A pulled adapter or a hung-up line shows as read errors that repeat
        // for as long as the port stays open, so it is closed at once.
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !m_port.isOpen())
            return;
        if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) && !aufgelegt(m_port)) {
            m_port.clearError();
            return;
        }
        reportFailure();
    });
}

bool QtComPort::PortOpen() const
{
    return m_port.isOpen();
}

void QtComPort::setPortOpen(bool open)
{
    if (!open) {
        m_port.close();
        return;
    }
    if (m_port.isOpen())
        return;
    m_port.setPortName(geraet());
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_fehlerart = oeffnungsfehler(m_port.error(), geraet());
        throw CommError(invalidPortNumber, Name(), m_port.errorString().toStdString());
    }
}

QString QtComPort::geraet() const
{
    return m_geraet.isEmpty() ? systemPortName(m_commPort) : m_geraet;
}

void QtComPort::setCommPort(qint16 number)
{
    m_commPort = number;
}

std::intptr_t QtComPort::CommID() const
{
    return toCommID(m_port.handle());
}

qint16 QtComPort::InBufferCount() const
{
    const qint64 waiting = m_port.bytesAvailable();
    return static_cast<qint16>(qMin<qint64>(waiting, std::numeric_limits<qint16>::max()));
}

void QtComPort::setInBufferCount(qint16 count)
{
    if (count == 0 && m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void QtComPort::Output(const QByteArray &bytes)
{
    if (!m_port.isOpen() || m_port.write(bytes) != bytes.size())
        reportFailure();
}

QByteArray QtComPort::Input()
{
    return m_port.readAll();
}

// Threshold checks run from the event loop and look at the buffers as they
// are then, so a handler that has already taken the input raises nothing.
void QtComPort::scheduleCheck(bool &pending, qint16 event)
{
    if (pending)
        return;
    pending = true;
    QMetaObject::invokeMethod(this, [this, &pending, event] {
        pending = false;
        if (thresholdReached(event))
            deliver(event);
    }, Qt::QueuedConnection);
}

bool QtComPort::thresholdReached(qint16 event) const
{
    if (!m_port.isOpen())
        return false;
    if (event == comEvReceive)
        return m_rThreshold > 0 && m_port.bytesAvailable() >= m_rThreshold;
    return m_sThreshold > 0 && m_port.bytesToWrite() == 0;
}

void QtComPort::deliver(qint16 event)
{
    m_commEvent = event;
    emit OnComm();
}

void QtComPort::reportFailure()
{
    if (m_failurePending)
        return;
    m_failurePending = true;
    QMetaObject::invokeMethod(this, [this] {
        m_failurePending = false;
        m_fehlerart = Portfehler::verloren;
        m_port.close();
        emit portFailed();
    }, Qt::QueuedConnection);
}
