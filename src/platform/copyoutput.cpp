#include "copyoutput.h"

#ifdef Q_OS_WIN
#include <windows.h>

QString outputText(const QByteArray &output)
{
    if (output.isEmpty())
        return {};
    const int size =
        MultiByteToWideChar(CP_OEMCP, 0, output.constData(), int(output.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, output.constData(), int(output.size()), text.data(), size);
    return QString::fromStdWString(text);
}

QByteArray loggedOutput(const QByteArray &output)
{
    return outputText(output).toUtf8();
}
#else
QString outputText(const QByteArray &output)
{
    return QString::fromLocal8Bit(output);
}

QByteArray loggedOutput(const QByteArray &output)
{
    return output;
}
#endif
