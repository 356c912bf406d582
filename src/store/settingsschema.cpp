#include "settingsschema.h"

#include "tables.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

bool createSettingsTables(QSqlDatabase &db, QString *error)
{
    for (const TableDefinition &def : kTables) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                       "%2 TEXT)")
                            .arg(QLatin1String(def.name), QLatin1String(def.field)))) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

namespace {

bool createTables(const QString &path, QString *error)
{
    const QString name = QStringLiteral("schema-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        if (!ok)
            *error = db.lastError().text();
        else
            ok = createSettingsTables(db, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

CreateResult createSettingsDatabase(const QString &path, QString *error)
{
    if (QFileInfo::exists(path))
        return CreateResult::AlreadyPresent;

    // Built under another name and moved into place at the end, so that a failure never leaves
    // a half-made database behind; QFile::rename refuses to replace an existing file.
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    if (!createTables(building, error)) {
        QFile::remove(building);
        return CreateResult::Failed;
    }
    QFile finished(building);
    if (!finished.rename(path)) {
        *error = finished.errorString();
        QFile::remove(building);
        return QFileInfo::exists(path) ? CreateResult::AlreadyPresent : CreateResult::Failed;
    }
    return CreateResult::Created;
}
