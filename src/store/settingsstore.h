// The settings database: one SQLite file of eighteen one-field tables, reached through the
// record operations below. Records keep the order in which they were added (oldest first), and
// every operation is final when it returns.
#pragma once

#include "common/outcome.h"
#include "tables.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFileInfo;

class SettingsStore final
{
  public:
    // Opens an existing settings database and checks its tables and fields. Never creates the
    // file or a table. On failure returns nullptr and sets error to the reason.
    // A user who may not change the file (or not even read it) gets a private copy in memory of
    // what can be read, which takes every change and loses it at the end; unsavedReason() then
    // says why.
    static std::unique_ptr<SettingsStore> open(const QString &path, QString *error);

    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString path() const { return m_path; }
    // Empty while changes are saved in the file.
    QString unsavedReason() const { return m_unsavedReason; }

    // Each operation says, when it fails, what could not be read or saved and why.
    using Read = Result<std::optional<QString>>;
    // The value of the oldest record, or nothing when the table holds none.
    Read ReadField(Table table);
    // The value of the newest record, or nothing when the table holds none.
    Read ReadNewestField(Table table);
    Outcome AppendRecord(Table table, const QString &value);
    Outcome ClearTable(Table table);
    // The table then holds this one record; on failure it keeps what it held.
    Outcome ReplaceRecord(Table table, const QString &value);
    // Deletes every record but the newest.
    Outcome KeepNewestRecord(Table table);
    Outcome SeedIfEmpty(Table table, const QString &value);
    // Empties every table and leaves the automatic flag "0"; all or nothing.
    Outcome DBDelete();

    // Runs several record operations as one: either all of them take effect or none does. The
    // steps stop at their first failure, which is returned once everything is undone.
    Outcome together(const std::function<Outcome()> &steps);

  private:
    SettingsStore(QString connectionName, QString path);

    bool openFile(const QFileInfo &file, QString *error);
    // Reads the records of readableFile when one is given.
    bool openPrivateCopy(const QFileInfo &readableFile, QString *error);

    Read readOne(Table table, const QString &order);
    Outcome run(Table table, const QString &action, const QString &sql,
                const std::optional<QString> &value = std::nullopt);
    Outcome inTransaction(Table table, const QString &action,
                          const std::function<Outcome()> &steps);
    Outcome transaction(const std::function<Outcome()> &steps,
                        const std::function<Outcome(const QString &reason)> &failure);
    Outcome failure(const QString &action, Table table, const QString &reason) const;

    QString m_connectionName;
    QString m_path;
    QString m_unsavedReason;
    int m_transactionDepth = 0; // an inner transaction joins the outer one
};
