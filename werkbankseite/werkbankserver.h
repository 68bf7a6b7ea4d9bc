#pragma once

#include "werkbankseite/protokollleser.h"
#include "werkbankseite/werkbankzustand.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QJsonArray>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <QWebSocketServer>

#include <optional>

struct Anfrage;
class Ereignisstrom;
class QTcpSocket;
class QUrlQuery;
class QWebSocket;

// The bench page's server: the page itself, the snapshot, the events as a
// WebSocket, the log's records and the shift figures. Read-only, and never
// in the bench's way: every answer is bytes from memory, a client that does
// not keep up is dropped, and each limit below holds against any client.
//
// Qt HttpServer 6.4 sets no limits of its own, so the requests are read here
// on a QTcpServer, and a WebSocket request is handed to QWebSocketServer.
class Werkbankserver : public QObject
{
    Q_OBJECT
public:
    static constexpr int hoechstensClients = 64;
    static constexpr qsizetype hoechstensKopfBytes = 16 * 1024;
    static constexpr qint64 ruheMs = 30000;
    static constexpr qint64 rueckstauBytes = 64 * 1024;

    // `sprache` ("de" or "en") is the page's language unless its URL asks
    // for the other.
    Werkbankserver(const QString &werkbankname, const QString &sprache, QObject *parent = nullptr);
    ~Werkbankserver() override;

    // Every event of the bench, as it happens.
    void abonnieren(Ereignisstrom &strom);
    // The log's records and today's figures from them; without a log,
    // /api/records and /api/stats say there is none.
    void protokollAnbieten(const QString &pfad);

    bool lauschen(const QHostAddress &adresse, quint16 port, QString &fehler);
    QString url() const;

public slots:
    void ereignis(const QJsonObject &ereignis);

private:
    int clients() const { return m_anfragen.size() + m_uebergeben.size() + m_zuschauer.size(); }
    void annehmen();
    void lesen(QTcpSocket *socket);
    void beantworten(QTcpSocket *socket, const Anfrage &anfrage);
    void protokollBeantworten(QTcpSocket *socket, const QByteArray &pfad, const QUrlQuery &abfrage);
    void senden(QTcpSocket *socket, int status, const QByteArray &art, const QByteArray &inhalt,
                const QByteArray &felder = QByteArray());
    void fehler(QTcpSocket *socket, int status, const QString &text);
    void uebergeben(QTcpSocket *socket);
    void zuschauerAufnehmen();
    void wachen();

    Werkbankzustand m_zustand;
    QByteArray m_seite;
    std::optional<Protokollleser> m_protokoll;
    QTcpServer m_server;
    QWebSocketServer m_websockets;
    QHash<QTcpSocket *, QElapsedTimer> m_anfragen;    // reading or answering a request
    QHash<QTcpSocket *, QElapsedTimer> m_uebergeben;  // in the WebSocket handshake
    QHash<QWebSocket *, QElapsedTimer> m_zuschauer;   // since their last sign of life
    QTimer m_wache;
    int m_wachen = 0;
};
