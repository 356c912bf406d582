#include "fakes.h"

void FakeMessageBoxes::inform(const QString &text)
{
    shown.append(text);
    if (whileShown)
        whileShown();
}

bool FakeMessageBoxes::confirm(const QString &text)
{
    inform(text);
    return answers.isEmpty() ? false : answers.dequeue();
}

void FakeMessageBoxes::notify(const QString &text)
{
    shown.append(text);
    notices.append(text);
}

Outcome FakeProgramStarter::take(const ProgramStart &request, QList<ProgramStart> &into)
{
    if (QString reason = failure ? failure(request) : QString(); !reason.isEmpty())
        return Outcome::failed(reason);
    into.append(request);
    return Outcome::done();
}
