// The yardstick: the smallest Qt Widgets program with a window that opens an SQLite file.
#include <QApplication>
#include <QLabel>
#include <QSqlDatabase>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    QApplication application(argc, argv);
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    database.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!database.open())
        return 1;
    QLabel window(QStringLiteral("Hello"));
    window.show();
    return QApplication::exec();
}
