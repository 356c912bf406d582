#include "settingsstore.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

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

QString checkTables(QSqlDatabase &db)
{
    for (const TableDefinition &def : kTables) {
        QSqlQuery probe(db);
        const QString sql = QStringLiteral("SELECT rowid, %1 FROM %2 LIMIT 0")
                                .arg(QLatin1String(def.field), QLatin1String(def.name));
        if (!probe.exec(sql))
            return probe.lastError().databaseText();
    }
    return {};
}

} // namespace

std::unique_ptr<SettingsStore> SettingsStore::open(const QString &path, QString *error)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        *error = QStringLiteral("the file does not exist");
        return nullptr;
    }
    if (!file.isFile()) {
        *error = QStringLiteral("it is not a file");
        return nullptr;
    }

    const QString name = QStringLiteral("settings-") + QUuid::createUuid().toString(QUuid::Id128);
    std::unique_ptr<SettingsStore> store(new SettingsStore(name, path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid()) {
        *error = QStringLiteral("the SQLite driver of Qt is not installed");
        return nullptr;
    }
    // mode=rw: SQLite must not create a missing file; the busy timeout lets a second instance
    // wait for the first instead of failing at once.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    db.setDatabaseName(QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    if (!db.open()) {
        *error = db.lastError().databaseText();
        return nullptr;
    }
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous = FULL"))) {
        *error = pragma.lastError().databaseText();
        return nullptr;
    }
    if (QString problem = checkTables(db); !problem.isEmpty()) {
        *error = problem;
        return nullptr;
    }
    return store;
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

std::optional<QString> SettingsStore::ReadField(Table table)
{
    return readOne(table, QStringLiteral("ORDER BY rowid LIMIT 1"));
}

std::optional<QString> SettingsStore::ReadNewestField(Table table)
{
    return readOne(table, QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
}

std::optional<QString> SettingsStore::readOne(Table table, const QString &order)
{
    QSqlQuery query(connection(m_connectionName));
    if (!query.exec(statement(table, QStringLiteral("SELECT {field} FROM {table} ") + order))) {
        reportFailure(QStringLiteral("read"), table, query.lastError().databaseText());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return query.value(0).toString();
}

bool SettingsStore::AppendRecord(Table table, const QString &value)
{
    return run(table, QStringLiteral("save"),
               QStringLiteral("INSERT INTO {table} ({field}) VALUES (?)"), value);
}

bool SettingsStore::ClearTable(Table table)
{
    return run(table, QStringLiteral("clear"), QStringLiteral("DELETE FROM {table}"));
}

bool SettingsStore::ReplaceRecord(Table table, const QString &value)
{
    // A table that holds just this record already needs no write, and no wait for the disk.
    QSqlQuery query(connection(m_connectionName));
    if (query.exec(
            statement(table, QStringLiteral("SELECT COUNT(*), MIN({field}) FROM {table}"))) &&
        query.next() && query.value(0).toInt() == 1 && query.value(1).toString() == value)
        return true;
    return inTransaction(table, QStringLiteral("save"),
                         [&] { return ClearTable(table) && AppendRecord(table, value); });
}

bool SettingsStore::KeepNewestRecord(Table table)
{
    return run(
        table, QStringLiteral("clear"),
        QStringLiteral("DELETE FROM {table} WHERE rowid < (SELECT MAX(rowid) FROM {table})"));
}

bool SettingsStore::SeedIfEmpty(Table table, const QString &value)
{
    return run(table, QStringLiteral("save"),
               QStringLiteral("INSERT INTO {table} ({field}) SELECT ? WHERE NOT EXISTS "
                              "(SELECT 1 FROM {table})"),
               value);
}

bool SettingsStore::DBDelete()
{
    return inTransaction(Table::AutoSync, QStringLiteral("clear"), [&] {
        for (int n = 1; n <= 14; ++n) {
            if (!ClearTable(pathTable(n)))
                return false;
        }
        return ClearTable(Table::Date) && ClearTable(Table::AutoSync) &&
               AppendRecord(Table::AutoSync, QStringLiteral("0")) && ClearTable(Table::Days) &&
               ClearTable(Table::Time);
    });
}

bool SettingsStore::run(Table table, const QString &action, const QString &sql,
                        const std::optional<QString> &value)
{
    QSqlQuery query(connection(m_connectionName));
    bool ok = query.prepare(statement(table, sql));
    if (ok && value)
        query.addBindValue(*value);
    ok = ok && query.exec();
    if (!ok)
        reportFailure(action, table, query.lastError().databaseText());
    return ok;
}

bool SettingsStore::together(const std::function<bool()> &steps)
{
    return transaction(steps, [this](const QString &reason) {
        if (m_report)
            m_report(QStringLiteral("Could not save your settings in the settings database %1: %2")
                         .arg(m_path, reason));
    });
}

bool SettingsStore::inTransaction(Table table, const QString &action,
                                  const std::function<bool()> &steps)
{
    return transaction(steps, [&](const QString &reason) { reportFailure(action, table, reason); });
}

// Either all steps take effect or none does. A failing step has already been reported; a
// failing begin or commit is reported here.
bool SettingsStore::transaction(const std::function<bool()> &steps,
                                const std::function<void(const QString &reason)> &reportFailure)
{
    if (m_transactionDepth > 0)
        return steps();
    QSqlDatabase db = connection(m_connectionName);
    if (!db.transaction()) {
        reportFailure(db.lastError().databaseText());
        return false;
    }
    ++m_transactionDepth;
    const bool done = steps();
    --m_transactionDepth;
    if (!done) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        reportFailure(db.lastError().databaseText());
        db.rollback();
        return false;
    }
    return true;
}

void SettingsStore::reportFailure(const QString &action, Table table, const QString &reason)
{
    if (m_report) {
        m_report(QStringLiteral("Could not %1 %2 in the settings database %3: %4")
                     .arg(action, QLatin1String(definition(table).contents), m_path, reason));
    }
}
