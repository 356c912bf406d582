#include "fakes.h"

void FakeMessageBoxes::inform(const QString &text)
{
    shown.append(text);
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

QString FakeProgramStarter::start(const ProgramStart &request)
{
    if (QString reason = failure ? failure(request) : QString(); !reason.isEmpty())
        return reason;
    started.append(request);
    return {};
}
