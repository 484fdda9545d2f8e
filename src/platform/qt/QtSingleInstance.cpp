#include "platform/qt/QtSingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <cstdio>

#include "platform/qt/QtCompanionTransport.h"

namespace ondaris {

QtSingleInstance::QtSingleInstance(const QString& runtimeDir, QObject* parent)
    : QObject(parent), runtimeDir_(runtimeDir.isEmpty() ? DefaultRuntimeDir() : QDir::cleanPath(runtimeDir)) {}

QtSingleInstance::~QtSingleInstance() {
  if (server_) server_->close();
  if (lock_ && locked_) lock_->unlock();
}

QString QtSingleInstance::lockPath() const { return runtimeDir_ + QStringLiteral("/OndarisdeQX7Z.lock"); }
QString QtSingleInstance::wakePath() const { return runtimeDir_ + QStringLiteral("/OndarisdeQX7Z"); }

bool QtSingleInstance::acquire() {
  if (locked_) return true;
  lock_ = std::make_unique<QLockFile>(lockPath());
  // A running instance keeps its lock however long it runs; only a lock whose
  // owner has gone is stale.
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    if (lock_->error() == QLockFile::LockFailedError) return false;
    std::fprintf(stderr, "Ondaris: cannot take the single-instance lock %s; running without it\n",
                 qPrintable(lockPath()));
    return true;
  }
  locked_ = true;

  server_ = new QLocalServer(this);
  connect(server_, &QLocalServer::newConnection, this, &QtSingleInstance::acceptWakeCalls);
  QString error;
  if (!ListenOnLocalSocket(*server_, wakePath(), error))
    std::fprintf(stderr, "Ondaris: a second start cannot wake this window: %s\n", qPrintable(error));
  return true;
}

void QtSingleInstance::acceptWakeCalls() {
  bool called = false;
  while (server_->hasPendingConnections()) {
    QLocalSocket* socket = server_->nextPendingConnection();
    if (!socket) break;
    called = true;
    socket->abort();
    socket->deleteLater();
  }
  if (called && onWakeRequest) onWakeRequest();
}

void QtSingleInstance::wakeRunningInstance() {
  QLocalSocket socket;
  socket.connectToServer(wakePath());
  if (!socket.waitForConnected(1000)) return;
  // The connection itself is the call; it is closed as soon as it is made.
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
}

}  // namespace ondaris
