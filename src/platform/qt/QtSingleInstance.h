#pragma once
// One running Ondaris per user: the lock file "OndarisdeQX7Z.lock" and the
// wake-up socket "OndarisdeQX7Z", both in the user's runtime folder.

#include <QObject>
#include <QString>
#include <memory>

#include "platform/SingleInstance.h"

class QLocalServer;
class QLockFile;

namespace ondaris {

class QtSingleInstance : public QObject, public SingleInstance {
  Q_OBJECT
 public:
  // `runtimeDir` empty: DefaultRuntimeDir() (platform/qt/QtCompanionTransport.h).
  explicit QtSingleInstance(const QString& runtimeDir = QString(), QObject* parent = nullptr);
  ~QtSingleInstance() override;

  // False only when another instance holds the lock. A lock that cannot be
  // taken for another reason (an unwritable folder) is reported on standard
  // error and the program runs without it.
  bool acquire() override;
  void wakeRunningInstance() override;

  bool holdsLock() const { return locked_; }
  QString lockPath() const;  // <runtime>/OndarisdeQX7Z.lock
  QString wakePath() const;  // <runtime>/OndarisdeQX7Z

 private:
  void acceptWakeCalls();

  QString runtimeDir_;
  std::unique_ptr<QLockFile> lock_;
  bool locked_ = false;
  QLocalServer* server_ = nullptr;
};

}  // namespace ondaris
