// The output of one copy as the run log keeps it. While it is small, all of it; past its budget
// the first lines, the failure lines and the last lines, with a note of how many were left out,
// so that a copy of a million files neither fills the log nor loses what went wrong.
#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <deque>

class OutputTranscript final
{
  public:
    explicit OutputTranscript(qsizetype budget) : m_budget(budget) {}

    // One line without its line end; failure lines come from the error output.
    void add(const QByteArray &line, bool failure);

    // The kept lines, each ended by a line end, never much more than the budget.
    QByteArray text() const;

  private:
    struct Line
    {
        QByteArray text;
        bool failure;
    };

    qsizetype m_budget;
    QByteArrayList m_head;
    qsizetype m_headBytes = 0;
    bool m_headFull = false;
    QByteArrayList m_middleFailures; // failure lines that dropped out of the tail, in order
    qsizetype m_middleBytes = 0;
    std::deque<Line> m_tail;
    qsizetype m_tailBytes = 0;
    qint64 m_leftOut = 0;
};
