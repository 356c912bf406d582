// One running program per user, so that an automatic run never fires twice: the first start
// holds a lock and listens; a later start asks it to come to the front and ends.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

class SingleInstance final : public QObject
{
    Q_OBJECT
  public:
    // The key is a path in a folder of the user's own; it names the lock and the channel.
    explicit SingleInstance(const QString &key);

    // True when no other instance of this key runs: this one then holds the key until it ends.
    // Otherwise the running one has been asked to come to the front.
    bool claim();

    // The key of the user who runs the program.
    static QString userKey();

  signals:
    void anotherStartAsked();

  private:
    void askTheRunningOne() const;

    QString m_key;
    QLockFile m_lock;
    QLocalServer m_server;
};
