// The run log: each copy's title, times, output and ending, one entry after the other.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct RunLogEntry
{
    QString title; // the copy and its command
    QDateTime started;
    QByteArray output; // as the copy wrote it, one line after the other
    QDateTime ended;
    QString outcome; // such as "exit status 0. The copy is done."
};

class RunLog final
{
  public:
    // Past this size the log is moved to the same name with ".1", replacing the one there.
    static constexpr qint64 kSizeLimit = 1 << 20;

    explicit RunLog(QString path) : m_path(std::move(path)) {}

    // xcopy.log in the program's folder of the user's state folder ($XDG_STATE_HOME, by default
    // ~/.local/state); on Windows of the user's local application data folder (%LOCALAPPDATA%).
    static QString defaultPath();

    const QString &path() const { return m_path; }

    // Appends the entry whole, creating the missing folders readable by the user alone. Returns an
    // empty text, or the system's reason why the log could not be written.
    QString append(const RunLogEntry &entry) const;

  private:
    QString m_path;
};

// The entry as the log holds it.
QByteArray formatEntry(const RunLogEntry &entry);
