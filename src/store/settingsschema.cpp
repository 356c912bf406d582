#include "settingsschema.h"

#include "tables.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <filesystem>

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
    namespace fs = std::filesystem;
    const auto entry = [](const QString &name) { return QFileInfo(name).filesystemFilePath(); };
    std::error_code ignored;
    // Whatever is at the path, a link included, is kept and not followed.
    if (fs::exists(fs::symlink_status(entry(path), ignored)))
        return CreateResult::AlreadyPresent;

    // Built under another name and moved into place at the end, so that a failure never leaves
    // a half-made database behind. What an earlier attempt left under that name or its journal's
    // goes first: SQLite would write into the file a link there leads to.
    const QString building = path + QStringLiteral(".new");
    const auto removeBuilding = [&] {
        for (const QString &name : {building, building + QStringLiteral("-journal")})
            fs::remove(entry(name), ignored);
    };
    removeBuilding();
    if (!createTables(building, error)) {
        removeBuilding();
        return CreateResult::Failed;
    }
    // Nothing is at the path (checked above); were a link to appear there meanwhile, rename()
    // would replace it, where QFile::rename would copy the database through it.
    std::error_code moved;
    fs::rename(entry(building), entry(path), moved);
    if (moved) {
        *error = QString::fromStdString(moved.message());
        removeBuilding();
        return CreateResult::Failed;
    }
    return CreateResult::Created;
}
