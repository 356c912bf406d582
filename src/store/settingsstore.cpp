#include "settingsstore.h"

#include "settingsschema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include <filesystem>

namespace {

QString tableName(Table table)
{
    return QString::fromLatin1(definition(table).name);
}
QString fieldName(Table table)
{
    return QString::fromLatin1(definition(table).field);
}

// The statement for one table: {table} and {field} stand for its names.
QString statement(Table table, QString sql)
{
    return sql.replace(QLatin1String("{table}"), tableName(table))
        .replace(QLatin1String("{field}"), fieldName(table));
}

QSqlDatabase connection(const QString &name)
{
    return QSqlDatabase::database(name, false);
}

// The SQLite address of a file, opened in the given mode ("rw" never creates a missing file).
QString fileUri(const QFileInfo &file, const QString &mode)
{
    return QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=") + mode;
}

// The busy timeout lets a second instance wait for the first instead of failing at once.
bool openConnection(QSqlDatabase &db, const QString &name, QString *error)
{
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    db.setDatabaseName(name);
    if (!db.open())
        *error = db.lastError().databaseText();
    return db.isOpen();
}

// Runs one statement; returns an empty text or the reason it failed.
QString execute(QSqlDatabase &db, const QString &sql, const std::optional<QString> &value = {})
{
    QSqlQuery query(db);
    bool ok = query.prepare(sql);
    if (ok && value)
        query.addBindValue(*value);
    return ok && query.exec() ? QString() : query.lastError().databaseText();
}

// schema names an attached database ("saved."); empty for the main one.
QString checkTables(QSqlDatabase &db, const QString &schema = {})
{
    // One statement names every table and field, so that one look finds any that is missing.
    QStringList probes;
    for (const TableDefinition &def : kTables) {
        probes.append(QStringLiteral("(SELECT rowid, %1 FROM %2%3 LIMIT 0)")
                          .arg(QLatin1String(def.field), schema, QLatin1String(def.name)));
    }
    return execute(db, QStringLiteral("SELECT 1 FROM ") + probes.join(QStringLiteral(", ")));
}

#ifdef Q_OS_WIN
// The read-only mark and the access list decide; only opening the file for writing asks the
// access list truly.
bool mayChange(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isWritable() &&
           file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}
#endif

// Why this user's changes cannot be written to a file they may read, or an empty text.
QString whyNotWritable(const QFileInfo &file)
{
#ifdef Q_OS_WIN
    if (!mayChange(file.filePath()))
        return QStringLiteral("you are not allowed to change it");
    // The journal kept beside the database (see openFile) must be changeable; without one,
    // SQLite needs to create it in the folder.
    const QString journal = file.filePath() + QStringLiteral("-journal");
    if (QFileInfo::exists(journal)) {
        return mayChange(journal) ? QString()
                                  : QStringLiteral("you are not allowed to change its journal %1")
                                        .arg(QDir::toNativeSeparators(journal));
    }
#else
    if (!file.isWritable())
        return QStringLiteral("you are not allowed to change it");
#endif
    // SQLite writes its journal beside the real file, wherever a link leads.
    const QFileInfo folder(QFileInfo(file.canonicalFilePath()).absolutePath());
    if (!folder.isWritable()) {
        return QStringLiteral("you are not allowed to write in its folder %1, where SQLite "
                              "keeps its journal")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    }
    return {};
}

} // namespace

std::unique_ptr<SettingsStore> SettingsStore::open(const QString &path, QString *error)
{
    const QFileInfo file(path);
    std::error_code problem;
    const std::filesystem::file_type type =
        std::filesystem::status(file.filesystemFilePath(), problem).type();
    // Behind a folder this user may not enter, such as another user's data folder.
    const bool hidden = problem == std::errc::permission_denied;
    if (type == std::filesystem::file_type::not_found) {
        *error = QStringLiteral("the file does not exist");
        return nullptr;
    }
    if (problem && !hidden) {
        *error = QString::fromStdString(problem.message());
        return nullptr;
    }
    if (!hidden && type != std::filesystem::file_type::regular) {
        *error = QStringLiteral("it is not a file");
        return nullptr;
    }

    const QString name = QStringLiteral("settings-") + QUuid::createUuid().toString(QUuid::Id128);
    std::unique_ptr<SettingsStore> store(new SettingsStore(name, path));
    if (!QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name).isValid()) {
        *error = QStringLiteral("the SQLite driver of Qt is not installed");
        return nullptr;
    }
    const bool readable = !hidden && file.isReadable();
    store->m_unsavedReason =
        readable ? whyNotWritable(file) : QStringLiteral("you are not allowed to read it");
    const bool opened = store->m_unsavedReason.isEmpty()
                            ? store->openFile(file, error)
                            : store->openPrivateCopy(readable ? file : QFileInfo(), error);
    return opened ? std::move(store) : nullptr;
}

bool SettingsStore::openFile(const QFileInfo &file, QString *error)
{
    QSqlDatabase db = connection(m_connectionName);
    if (!openConnection(db, fileUri(file, QStringLiteral("rw")), error))
        return false;
    *error = execute(db, QStringLiteral("PRAGMA synchronous = FULL"));
#ifdef Q_OS_WIN
    // There the folder is the administrators': the journal is emptied after each save, never
    // deleted and made again.
    if (error->isEmpty())
        *error = execute(db, QStringLiteral("PRAGMA journal_mode = TRUNCATE"));
#endif
    if (error->isEmpty())
        *error = checkTables(db);
    return error->isEmpty();
}

bool SettingsStore::openPrivateCopy(const QFileInfo &readableFile, QString *error)
{
    QSqlDatabase db = connection(m_connectionName);
    if (!openConnection(db, QStringLiteral(":memory:"), error) || !createSettingsTables(db, error))
        return false;
    if (readableFile.filePath().isEmpty())
        return true;
    *error = execute(db, QStringLiteral("ATTACH DATABASE ? AS saved"),
                     fileUri(readableFile, QStringLiteral("ro")));
    if (error->isEmpty())
        *error = checkTables(db, QStringLiteral("saved."));
    for (const TableDefinition &def : kTables) {
        if (!error->isEmpty())
            return false;
        // The keys come along, so that the records keep their order.
        *error = execute(db, QStringLiteral("INSERT INTO main.%1 (id, %2) SELECT rowid, %2 "
                                            "FROM saved.%1")
                                 .arg(QLatin1String(def.name), QLatin1String(def.field)));
    }
    if (error->isEmpty())
        *error = execute(db, QStringLiteral("DETACH DATABASE saved"));
    return error->isEmpty();
}

SettingsStore::SettingsStore(QString connectionName, QString path)
    : m_connectionName(std::move(connectionName)), m_path(std::move(path))
{
}

SettingsStore::~SettingsStore()
{
    {
        QSqlDatabase db = connection(m_connectionName);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

SettingsStore::Read SettingsStore::ReadField(Table table)
{
    return readOne(table, QStringLiteral("ORDER BY rowid LIMIT 1"));
}

SettingsStore::Read SettingsStore::ReadNewestField(Table table)
{
    return readOne(table, QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
}

SettingsStore::Read SettingsStore::readOne(Table table, const QString &order)
{
    QSqlQuery query(connection(m_connectionName));
    if (!query.exec(statement(table, QStringLiteral("SELECT {field} FROM {table} ") + order)))
        return failure(QStringLiteral("read"), table, query.lastError().databaseText());
    if (!query.next())
        return std::optional<QString>();
    return std::optional(query.value(0).toString());
}

Outcome SettingsStore::AppendRecord(Table table, const QString &value)
{
    return run(table, QStringLiteral("save"),
               QStringLiteral("INSERT INTO {table} ({field}) VALUES (?)"), value);
}

Outcome SettingsStore::ClearTable(Table table)
{
    return run(table, QStringLiteral("clear"), QStringLiteral("DELETE FROM {table}"));
}

Outcome SettingsStore::ReplaceRecord(Table table, const QString &value)
{
    // A table that holds just this record already needs no write, and no wait for the disk.
    QSqlQuery query(connection(m_connectionName));
    if (query.exec(
            statement(table, QStringLiteral("SELECT COUNT(*), MIN({field}) FROM {table}"))) &&
        query.next() && query.value(0).toInt() == 1 && query.value(1).toString() == value)
        return Outcome::done();
    return inTransaction(table, QStringLiteral("save"), [&] {
        return ClearTable(table).andThen([&] { return AppendRecord(table, value); });
    });
}

Outcome SettingsStore::KeepNewestRecord(Table table)
{
    return run(
        table, QStringLiteral("clear"),
        QStringLiteral("DELETE FROM {table} WHERE rowid < (SELECT MAX(rowid) FROM {table})"));
}

Outcome SettingsStore::SeedIfEmpty(Table table, const QString &value)
{
    return run(table, QStringLiteral("save"),
               QStringLiteral("INSERT INTO {table} ({field}) SELECT ? WHERE NOT EXISTS "
                              "(SELECT 1 FROM {table})"),
               value);
}

Outcome SettingsStore::DBDelete()
{
    return inTransaction(Table::AutoSync, QStringLiteral("clear"), [&] {
        Outcome cleared = Outcome::done();
        for (int n = 1; n <= 14; ++n)
            cleared = cleared.andThen([&] { return ClearTable(pathTable(n)); });
        return cleared.andThen([&] { return ClearTable(Table::Date); })
            .andThen([&] { return ClearTable(Table::AutoSync); })
            .andThen([&] { return AppendRecord(Table::AutoSync, QStringLiteral("0")); })
            .andThen([&] { return ClearTable(Table::Days); })
            .andThen([&] { return ClearTable(Table::Time); });
    });
}

Outcome SettingsStore::run(Table table, const QString &action, const QString &sql,
                           const std::optional<QString> &value)
{
    QSqlDatabase db = connection(m_connectionName);
    if (const QString problem = execute(db, statement(table, sql), value); !problem.isEmpty())
        return failure(action, table, problem);
    return Outcome::done();
}

Outcome SettingsStore::together(const std::function<Outcome()> &steps)
{
    return transaction(steps, [this](const QString &reason) {
        return Outcome::failed(
            QStringLiteral("Could not save your settings in the settings database %1: %2")
                .arg(m_path, reason));
    });
}

Outcome SettingsStore::inTransaction(Table table, const QString &action,
                                     const std::function<Outcome()> &steps)
{
    return transaction(steps,
                       [&](const QString &reason) { return failure(action, table, reason); });
}

// Either all steps take effect or none does. The failure of a step, of the begin or of the
// commit is returned only once the transaction has ended, so that nothing else can join it.
Outcome SettingsStore::transaction(const std::function<Outcome()> &steps,
                                   const std::function<Outcome(const QString &reason)> &failure)
{
    if (m_transactionDepth > 0)
        return steps();
    QSqlDatabase db = connection(m_connectionName);
    if (!db.transaction())
        return failure(db.lastError().databaseText());
    ++m_transactionDepth;
    const Outcome done = steps();
    --m_transactionDepth;
    if (!done.ok()) {
        db.rollback();
        return done;
    }
    if (!db.commit()) {
        const Outcome notCommitted = failure(db.lastError().databaseText());
        db.rollback();
        return notCommitted;
    }
    return Outcome::done();
}

Outcome SettingsStore::failure(const QString &action, Table table, const QString &reason) const
{
    return Outcome::failed(
        QStringLiteral("Could not %1 %2 in the settings database %3: %4")
            .arg(action, QLatin1String(definition(table).contents), m_path, reason));
}
