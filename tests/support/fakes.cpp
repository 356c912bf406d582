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

Outcome FakeProgramStarter::startCopy(const ProgramStart &copy)
{
    return take(copy, copies);
}

Outcome FakeProgramStarter::start(const ProgramStart &program)
{
    return take(program, started);
}

Outcome FakeProgramStarter::open(const QString &document)
{
    QList<ProgramStart> documents;
    const Outcome taken = take({QString(), document, {}}, documents);
    if (taken.ok())
        opened.append(document);
    return taken;
}

Outcome FakeProgramStarter::take(const ProgramStart &request, QList<ProgramStart> &into)
{
    if (QString reason = failure ? failure(request) : QString(); !reason.isEmpty())
        return Outcome::failed(reason);
    into.append(request);
    return Outcome::done();
}
