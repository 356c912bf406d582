// The settings database: one SQLite file of eighteen one-field tables, reached through the
// record operations below. Records keep the order in which they were added (oldest first), and
// every operation is final when it returns.
#pragma once

#include "tables.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFileInfo;

class SettingsStore final
{
  public:
    // Receives a user-readable account of an operation that failed.
    using FailureReport = std::function<void(const QString &message)>;

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
    void setFailureReport(FailureReport report) { m_report = std::move(report); }

    // The value of the oldest record, or nothing when the table holds none.
    std::optional<QString> ReadField(Table table);
    // The value of the newest record, or nothing when the table holds none.
    std::optional<QString> ReadNewestField(Table table);
    bool AppendRecord(Table table, const QString &value);
    bool ClearTable(Table table);
    // The table then holds this one record; on failure it keeps what it held.
    bool ReplaceRecord(Table table, const QString &value);
    // Deletes every record but the newest.
    bool KeepNewestRecord(Table table);
    bool SeedIfEmpty(Table table, const QString &value);
    // Empties every table and leaves the automatic flag "0"; all or nothing.
    bool DBDelete();

    // Runs several record operations as one: either all of them take effect or none does.
    // Each operation reports its own failure; the steps return false to give up.
    bool together(const std::function<bool()> &steps);

  private:
    SettingsStore(QString connectionName, QString path);

    bool openFile(const QFileInfo &file, QString *error);
    // Reads the records of readableFile when one is given.
    bool openPrivateCopy(const QFileInfo &readableFile, QString *error);

    std::optional<QString> readOne(Table table, const QString &order);
    bool run(Table table, const QString &action, const QString &sql,
             const std::optional<QString> &value = std::nullopt);
    bool inTransaction(Table table, const QString &action, const std::function<bool()> &steps);
    bool transaction(const std::function<bool()> &steps,
                     const std::function<void(const QString &reason)> &reportFailure);
    void reportFailure(const QString &action, Table table, const QString &reason);

    QString m_connectionName;
    QString m_path;
    QString m_unsavedReason;
    FailureReport m_report;
    int m_transactionDepth = 0; // an inner transaction joins the outer one
};
