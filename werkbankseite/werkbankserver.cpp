#include "werkbankseite/werkbankserver.h"

#include "bench/ereignis.h"
#include "werkbankseite/anfrage.h"

#include <QFile>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QWebSocket>

namespace {

// A handshake that QWebSocketServer has not finished by then never will.
constexpr qint64 handschlagMs = 10000;
// Each WebSocket is pinged this often; a browser answers on its own.
constexpr int pingAlleWachen = 10;
constexpr int eintraegeVorgabe = 100;
constexpr int eintraegeHoechstens = 1000;

QByteArray statuszeile(int status)
{
    switch (status) {
    case 200: return "200 OK";
    case 400: return "400 Bad Request";
    case 403: return "403 Forbidden";
    case 404: return "404 Not Found";
    case 405: return "405 Method Not Allowed";
    case 431: return "431 Request Header Fields Too Large";
    case 503: return "503 Service Unavailable";
    default: return "500 Internal Server Error";
    }
}

QByteArray alsJson(const QJsonObject &objekt) { return QJsonDocument(objekt).toJson(QJsonDocument::Compact); }

// A non-negative whole number from the query, or the default when absent.
std::optional<qint64> zahl(const QUrlQuery &abfrage, const QString &name, qint64 vorgabe)
{
    if (!abfrage.hasQueryItem(name))
        return vorgabe;
    bool gueltig = false;
    const qint64 wert = abfrage.queryItemValue(name).toLongLong(&gueltig);
    return gueltig && wert >= 0 ? std::optional<qint64>(wert) : std::nullopt;
}

void schliessen(QTcpSocket *socket)
{
    socket->disconnectFromHost();
    // A client that does not take its answer is not waited for.
    QTimer::singleShot(1000, socket, &QTcpSocket::abort);
}

} // namespace

Werkbankserver::Werkbankserver(const QString &werkbankname, const QString &sprache, QObject *parent)
    : QObject(parent), m_zustand(werkbankname),
      m_websockets(QStringLiteral("kvxflash"), QWebSocketServer::NonSecureMode)
{
    QFile seite(QStringLiteral(":/werkbankseite/werkbankseite.html"));
    seite.open(QIODevice::ReadOnly);
    m_seite = seite.readAll().replace("data-sprache=\"de\"", "data-sprache=\"" + sprache.toLatin1() + '"');
    connect(&m_server, &QTcpServer::newConnection, this, &Werkbankserver::annehmen);
    connect(&m_websockets, &QWebSocketServer::newConnection, this, &Werkbankserver::zuschauerAufnehmen);
    connect(&m_wache, &QTimer::timeout, this, &Werkbankserver::wachen);
    m_wache.start(1000);
}

// Clients still connected close as the server goes: they must no longer
// reach the lists that are gone by then.
Werkbankserver::~Werkbankserver()
{
    for (QTcpSocket *socket : m_anfragen.keys() + m_uebergeben.keys())
        disconnect(socket, nullptr, this, nullptr);
    for (QWebSocket *zuschauer : m_zuschauer.keys())
        disconnect(zuschauer, nullptr, this, nullptr);
}

void Werkbankserver::abonnieren(Ereignisstrom &strom)
{
    connect(&strom, &Ereignisstrom::ereignis, this, [this](const Ereignis &e) { ereignis(e.alsJson()); });
}

void Werkbankserver::protokollAnbieten(const QString &pfad)
{
    m_protokoll.emplace(pfad);
}

bool Werkbankserver::lauschen(const QHostAddress &adresse, quint16 port, QString &fehler)
{
    if (m_server.listen(adresse, port))
        return true;
    fehler = m_server.errorString();
    return false;
}

QString Werkbankserver::url() const
{
    const QHostAddress adresse = m_server.serverAddress();
    const QString host = adresse.protocol() == QAbstractSocket::IPv6Protocol
                             ? QLatin1Char('[') + adresse.toString() + QLatin1Char(']') : adresse.toString();
    return QStringLiteral("http://%1:%2/").arg(host).arg(m_server.serverPort());
}

void Werkbankserver::ereignis(const QJsonObject &ereignis)
{
    m_zustand.anwenden(ereignis);
    const QString nachricht = QString::fromUtf8(alsJson(ereignis));
    // A client closed here leaves the list at once: go through a copy.
    for (QWebSocket *zuschauer : m_zuschauer.keys()) {
        // One that does not read loses its events and is let go; it takes a
        // fresh snapshot when it comes back.
        if (zuschauer->bytesToWrite() > rueckstauBytes)
            zuschauer->abort();
        else
            zuschauer->sendTextMessage(nachricht);
    }
}

void Werkbankserver::annehmen()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (clients() >= hoechstensClients) {
            socket->write("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            schliessen(socket);
            continue;
        }
        // The socket buffers no more than a head may be long, and one byte.
        socket->setReadBufferSize(hoechstensKopfBytes + 1);
        m_anfragen[socket].start();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { lesen(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_anfragen.remove(socket);
            socket->deleteLater();
        });
    }
}

void Werkbankserver::lesen(QTcpSocket *socket)
{
    // Only looked at, not read: a WebSocket request goes on as it came.
    const QByteArray gelesen = socket->peek(hoechstensKopfBytes + 1);
    const qsizetype ende = gelesen.indexOf("\r\n\r\n");
    if (ende < 0 || ende + 4 > hoechstensKopfBytes) {
        if (gelesen.size() > hoechstensKopfBytes)
            fehler(socket, 431, QStringLiteral("request head over 16 KiB"));
        return;
    }
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    const std::optional<Anfrage> anfrage = Anfrage::lesen(gelesen.left(ende));
    if (!anfrage)
        fehler(socket, 400, QStringLiteral("not an HTTP request"));
    else
        beantworten(socket, *anfrage);
}

void Werkbankserver::beantworten(QTcpSocket *socket, const Anfrage &anfrage)
{
    if (anfrage.methode != "GET") {
        senden(socket, 405, "application/json", alsJson({{QStringLiteral("error"), QStringLiteral("read-only")}}),
               "Allow: GET\r\n");
        return;
    }
    if (anfrage.pfad == "/") {
        senden(socket, 200, "text/html; charset=utf-8", m_seite);
    } else if (anfrage.pfad == "/api/state") {
        senden(socket, 200, "application/json", alsJson(m_zustand.schnappschuss()));
    } else if (anfrage.pfad == "/api/events") {
        // A page from elsewhere must not read the bench through the
        // operator's browser.
        const QByteArray herkunft = anfrage.feld("origin");
        if (anfrage.feld("upgrade").toLower() != "websocket")
            fehler(socket, 400, QStringLiteral("WebSocket only"));
        else if (!herkunft.isEmpty() && herkunft != "http://" + anfrage.feld("host"))
            fehler(socket, 403, QStringLiteral("foreign origin"));
        else
            uebergeben(socket);
    } else if (anfrage.pfad == "/api/records" || anfrage.pfad == "/api/stats") {
        protokollBeantworten(socket, anfrage.pfad, QUrlQuery(QString::fromUtf8(anfrage.abfrage)));
    } else {
        fehler(socket, 404, QStringLiteral("no such page"));
    }
}

void Werkbankserver::protokollBeantworten(QTcpSocket *socket, const QByteArray &pfad, const QUrlQuery &abfrage)
{
    QString grund;
    if (!m_protokoll) {
        fehler(socket, 404, QStringLiteral("no log: the bench was started without --log"));
    } else if (pfad == "/api/stats") {
        if (const std::optional<QJsonObject> zahlen = m_protokoll->heute(grund))
            senden(socket, 200, "application/json", alsJson(*zahlen));
        else
            fehler(socket, 500, grund);
    } else {
        const std::optional<qint64> nach = zahl(abfrage, QStringLiteral("after"), 0);
        const std::optional<qint64> hoechstens = zahl(abfrage, QStringLiteral("limit"), eintraegeVorgabe);
        if (!nach || !hoechstens || *hoechstens < 1)
            fehler(socket, 400, QStringLiteral("after and limit take whole numbers, limit at least 1"));
        else if (const std::optional<QJsonArray> eintraege =
                     m_protokoll->eintraege(*nach, int(qMin<qint64>(*hoechstens, eintraegeHoechstens)), grund))
            senden(socket, 200, "application/json", QJsonDocument(*eintraege).toJson(QJsonDocument::Compact));
        else
            fehler(socket, 500, grund);
    }
}

void Werkbankserver::senden(QTcpSocket *socket, int status, const QByteArray &art, const QByteArray &inhalt,
                            const QByteArray &felder)
{
    socket->write("HTTP/1.1 " + statuszeile(status) + "\r\nContent-Type: " + art
                  + "\r\nContent-Length: " + QByteArray::number(inhalt.size())
                  + "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n"
                    "Content-Security-Policy: default-src 'none'; script-src 'unsafe-inline'; "
                    "style-src 'unsafe-inline'; connect-src 'self'\r\n"
                  + felder + "Connection: close\r\n\r\n" + inhalt);
    schliessen(socket);
}

void Werkbankserver::fehler(QTcpSocket *socket, int status, const QString &text)
{
    senden(socket, status, "application/json", alsJson({{QStringLiteral("error"), text}}));
}

void Werkbankserver::uebergeben(QTcpSocket *socket)
{
    m_anfragen.remove(socket);
    m_uebergeben[socket].start();
    disconnect(socket, nullptr, this, nullptr);
    socket->setReadBufferSize(0);
    // A handshake QWebSocketServer refuses leaves the socket closed, and ours.
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (m_uebergeben.remove(socket))
            socket->deleteLater();
    });
    m_websockets.handleConnection(socket);
}

void Werkbankserver::zuschauerAufnehmen()
{
    while (QWebSocket *zuschauer = m_websockets.nextPendingConnection()) {
        // From now on the socket belongs to its WebSocket.
        for (auto it = m_uebergeben.begin(); it != m_uebergeben.end(); ++it) {
            if (it.key()->peerPort() == zuschauer->peerPort() && it.key()->peerAddress() == zuschauer->peerAddress()) {
                disconnect(it.key(), nullptr, this, nullptr);
                m_uebergeben.erase(it);
                break;
            }
        }
        zuschauer->setParent(this);
        zuschauer->setMaxAllowedIncomingFrameSize(1024);
        zuschauer->setMaxAllowedIncomingMessageSize(1024);
        m_zuschauer[zuschauer].start();
        // The page only listens: whatever a client sends is not for us.
        const auto abweisen = [zuschauer] { zuschauer->close(QWebSocketProtocol::CloseCodePolicyViolated); };
        connect(zuschauer, &QWebSocket::textMessageReceived, zuschauer, abweisen);
        connect(zuschauer, &QWebSocket::binaryMessageReceived, zuschauer, abweisen);
        connect(zuschauer, &QWebSocket::pong, this, [this, zuschauer] { m_zuschauer[zuschauer].start(); });
        connect(zuschauer, &QWebSocket::disconnected, this, [this, zuschauer] {
            m_zuschauer.remove(zuschauer);
            zuschauer->deleteLater();
        });
    }
}

namespace {

template <typename Socket>
void abbrechenNach(const QHash<Socket *, QElapsedTimer> &sockets, qint64 ms)
{
    for (Socket *socket : sockets.keys())
        if (sockets.value(socket).hasExpired(ms))
            socket->abort();
}

} // namespace

// Once a second: requests and handshakes that take too long, and
// WebSockets that no longer answer, are closed.
void Werkbankserver::wachen()
{
    abbrechenNach(m_anfragen, ruheMs);
    abbrechenNach(m_uebergeben, handschlagMs);
    abbrechenNach(m_zuschauer, ruheMs);
    if (++m_wachen % pingAlleWachen == 0)
        for (QWebSocket *zuschauer : m_zuschauer.keys())
            zuschauer->ping();
}
