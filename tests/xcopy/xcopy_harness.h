#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <ctime>
#include <functional>
#include <sys/stat.h>

Q_DECLARE_METATYPE(timespec)

struct XcopyResult
{
    int exitCode = -1; // -1 when it crashed or hung
    QByteArray out;
    QByteArray err;
};

// Runs the built xcopy in WORKING_FOLDER; CHILD_SETUP runs in the child just before it starts.
XcopyResult runXcopy(const QStringList &arguments, const QString &workingFolder = {},
                     const std::function<void()> &childSetup = {});
// Passes the arguments byte for byte, for paths that are not UTF-8.
XcopyResult runXcopyRaw(const QList<QByteArray> &arguments);

// Paths are byte strings so that names which are not UTF-8 work too.
void writeFile(const QByteArray &path, const QByteArray &content);
QByteArray readFile(const QByteArray &path);
void setModified(const QByteArray &path, timespec modified);
struct stat statOf(const QByteArray &path);

// Relative paths of every file and folder below ROOT, hidden ones included, sorted.
QStringList treeOf(const QString &root);

// Root reads everything, so cases about refused access run the program as "nobody"; outside
// root, files are already refused to their owner.
void giveToNobody(const QString &root);
void becomeNobody();
