#include "outputtranscript.h"

void OutputTranscript::add(const QByteArray &line, bool failure)
{
    const qsizetype size = line.size() + 1;
    // A quarter of the budget for the head, a quarter for the failures between, half for the tail.
    if (!m_headFull && m_headBytes + size <= m_budget / 4) {
        m_head.append(line);
        m_headBytes += size;
        return;
    }
    m_headFull = true;
    m_tail.push_back({line, failure});
    m_tailBytes += size;
    while (m_tailBytes > m_budget / 2) {
        const Line &oldest = m_tail.front();
        const qsizetype oldestSize = oldest.text.size() + 1;
        if (oldest.failure && m_middleBytes + oldestSize <= m_budget / 4) {
            m_middleFailures.append(oldest.text);
            m_middleBytes += oldestSize;
        } else {
            ++m_leftOut;
        }
        m_tailBytes -= oldestSize;
        m_tail.pop_front();
    }
}

QByteArray OutputTranscript::text() const
{
    QByteArray text;
    text.reserve(m_headBytes + m_middleBytes + m_tailBytes + 64);
    for (const QByteArray &line : m_head)
        text += line + '\n';
    if (m_leftOut > 0)
        text += "[" + QByteArray::number(m_leftOut) + " lines of output left out here]\n";
    for (const QByteArray &line : m_middleFailures)
        text += line + '\n';
    for (const Line &line : m_tail)
        text += line.text + '\n';
    return text;
}
