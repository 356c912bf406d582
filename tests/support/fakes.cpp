#include "fakes.h"

void FakeMessageBoxes::inform(const QString &text)
{
    shown.append(text);
    if (whileShown)
        whileShown();
}

bool FakeMessageBoxes::confirm(const QString &text)
{
    shown.append(text);
    if (whileShown)
        whileShown();
    return answers.isEmpty() ? false : answers.dequeue();
}

QString FakeProgramStarter::start(const ProgramStart &request)
{
    if (failure) {
        if (QString reason = failure(request); !reason.isEmpty())
            return reason;
    }
    started.append(request);
    return {};
}
