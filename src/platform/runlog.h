// The run log: each copy's title, times, output and ending, one entry after the other.
#pragma once

#include "common/outcome.h"

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
    // An entry added to a log that has reached this size starts a new log: the old one moves to
    // the same name with ".1" first, replacing the one there. An entry's output is kept to an
    // eighth of it, so that the entries of one run (seven copies) never fill a log: the one
    // rotation a run may cause never drops an entry of that run.
    static constexpr qint64 kSizeLimit = 1 << 20;
    static constexpr qint64 kOutputBudget = kSizeLimit / 8 - 4096;

    explicit RunLog(QString path) : m_path(std::move(path)) {}

    // xcopy.log in the program's folder of the user's state folder ($XDG_STATE_HOME, by default
    // ~/.local/state); on Windows of the user's local application data folder (%LOCALAPPDATA%).
    static QString defaultPath();

    const QString &path() const { return m_path; }

    // Appends the entry whole, creating the missing folders readable by the user alone. Another
    // program appending at the same moment waits for this one. A failure gives the system's
    // reason why the log could not be written.
    Outcome append(const RunLogEntry &entry) const;

  private:
    QString m_path;
};

// The entry as the log holds it.
QByteArray formatEntry(const RunLogEntry &entry);
