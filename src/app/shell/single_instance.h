#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace kv820 {

// Makes sure one copy runs per user: the first copy holds a lock file and listens on a
// local socket; a later copy asks it to come to the front and then exits. A lock left by
// a crashed copy is recovered.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    // The key of one copy per user of `program` on this computer.
    static QString perUserKey(const QString& program);
    ~SingleInstance() override;

    // True when this is the only copy. Otherwise the running copy has been asked to come
    // to the front.
    bool claim();

  signals:
    // Another copy asked this one to come to the front.
    void activationRequested();

  private:
    bool askRunningCopyToActivate();

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

}  // namespace kv820
