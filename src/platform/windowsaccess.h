// Built on Windows only: who may read and change a file, as Windows's access lists say it.
#pragma once

#include <QString>

// The security identifier of an account, such as "S-1-5-21-1-2-3-1001"; empty when there is no
// such account.
QString accountSid(const QString &accountName);

// The access list, in the system's text form, that makes a file the account's: it may read and
// change the file but not its access list, the system and the administrators have full control
// as of every program file, and nobody else may even read it. It is protected, so that the
// folder's entries (everyone may read program files) do not reach the file.
QString privateAccessList(const QString &sid);

// Gives the file that access list, replacing the one it had. Returns an empty text or the
// system's reason.
QString setAccessList(const QString &path, const QString &accessList);

// Gives the file the access list of another. Returns an empty text or the system's reason.
QString copyAccessList(const QString &from, const QString &to);
