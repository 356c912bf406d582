// A settings database of its own in a temporary folder, and a second connection to look at its
// records or change it behind the program's back.
#pragma once

#include "store/settingsstore.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class TestDatabase
{
  public:
    TestDatabase();
    ~TestDatabase();

    QString folder() const { return m_dir.path(); }
    QString path() const { return m_dir.filePath(QStringLiteral("xcopy.mdb")); }
    SettingsStore &store() { return *m_store; }

    // Every record of a table, oldest first, read through a separate connection.
    QStringList records(Table table) const;
    void add(Table table, const QStringList &values);
    // Runs a statement, with the value of its one placeholder if it has one, through the separate
    // connection, e.g. to drop a table; returns the first value of its result, if any.
    QString execute(const QString &sql, const std::optional<QString> &value = {});
    // Every insert (or delete) into the table fails from now on with the given reason, as on a
    // full disk.
    void failEvery(const QString &event, Table table, const QString &reason = "disk is full");

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_store;
    QString m_connection;
};
