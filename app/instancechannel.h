#pragma once

#include "app/startrequest.h"

#include <QObject>
#include <QString>

class QLocalServer;

// How a second start of the program reaches the window of the first for
// the same user: a local socket in the user's runtime directory, which must
// be a directory of the user's own that nobody else may enter; the socket
// itself is for its owner only. The first start listens; a later start with
// a request hands it over and ends, the first window takes it and comes to
// the front. Each program directory has a socket of its own, so two copies
// with different data never take each other's requests.
class InstanceChannel : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceChannel)

public:
    // socketPath empty: no channel; every start stands alone.
    explicit InstanceChannel(QString socketPath, QObject *parent = nullptr);
    ~InstanceChannel() override;

    // The socket for a program directory in runtimeDir (empty: the user's
    // runtime directory), or empty when that directory is missing, is a
    // link, is not the user's or lets anyone else in.
    static QString socketPathFor(const QString &programDir, const QString &runtimeDir = QString());

    enum class Outcome { HandedOver, Listening, Alone };
    // A request is handed to a window already listening, if any; otherwise
    // (and always without a request) this start listens for later ones, or
    // stands alone when another start already does or there is no channel.
    // Decided under a lock, so two starts at once do not both listen.
    Outcome handOverOrListen(const StartRequest &request, int timeoutMs = 3000);

    // Hands request to the listening window; true when it said it took it.
    bool handOver(const StartRequest &request, int timeoutMs = 3000) const;
    // Starts listening; false when another start listens or it cannot.
    bool listen();
    bool isListening() const;

    // The longest request line taken.
    static constexpr qint64 kMaxRequest = 64 * 1024;

signals:
    // Another start asked for this (which may be nothing: a plain start).
    void requestReceived(const StartRequest &request);

private:
    void takeConnection();

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
};
