#include "testdatabase.h"

#include "store/settingsschema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

TestDatabase::TestDatabase()
    : m_connection(QStringLiteral("inspect-") + QUuid::createUuid().toString(QUuid::Id128))
{
    QString error;
    if (createSettingsDatabase(path(), &error) != CreateResult::Created)
        qFatal("cannot create a test database: %s", qPrintable(error));
    m_store = SettingsStore::open(path(), &error);
    if (!m_store)
        qFatal("cannot open the test database: %s", qPrintable(error));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path());
    db.open();
#ifdef Q_OS_WIN
    // As the program does there: the journal the program holds open must not be deleted.
    execute(QStringLiteral("PRAGMA journal_mode = TRUNCATE"));
#endif
}

TestDatabase::~TestDatabase()
{
    m_store.reset();
    QSqlDatabase::database(m_connection).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QStringList TestDatabase::records(Table table) const
{
    const TableDefinition &def = definition(table);
    QSqlQuery query(QSqlDatabase::database(m_connection));
    if (!query.exec(QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY id")
                        .arg(QLatin1String(def.field), QLatin1String(def.name))))
        qFatal("cannot read %s: %s", def.name, qPrintable(query.lastError().text()));
    QStringList values;
    while (query.next())
        values.append(query.value(0).toString());
    return values;
}

void TestDatabase::add(Table table, const QStringList &values)
{
    const TableDefinition &def = definition(table);
    for (const QString &value : values)
        execute(QStringLiteral("INSERT INTO \"%2\" (\"%1\") VALUES (?)")
                    .arg(QLatin1String(def.field), QLatin1String(def.name)),
                value);
}

QString TestDatabase::execute(const QString &sql, const std::optional<QString> &value)
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.prepare(sql);
    if (value)
        query.addBindValue(*value);
    if (!query.exec())
        qFatal("cannot run %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query.next() ? query.value(0).toString() : QString();
}

void TestDatabase::failEvery(const QString &event, Table table, const QString &reason)
{
    const QString name = QLatin1String(definition(table).name);
    execute(QStringLiteral("CREATE TRIGGER fail_%1_%2 BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, "
                           "'%3'); END")
                .arg(event, name, reason));
}
