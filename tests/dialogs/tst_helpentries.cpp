#include "windowfixture.h"

#include "store/tables.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {
// Everything a user could see change: each control's visibility, availability and contents,
// and every record of the settings database.
QStringList windowAndRecords(WindowFixture &f)
{
    QStringList state;
    for (const QWidget *control : f.window().findChildren<QWidget *>()) {
        QString line = control->objectName() + QLatin1Char(' ') +
                       QString::number(control->isVisible()) +
                       QString::number(control->isEnabled());
        if (const auto *box = qobject_cast<const QLineEdit *>(control))
            line += box->text() + QString::number(box->isReadOnly());
        else if (const auto *label = qobject_cast<const QLabel *>(control))
            line += label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(control))
            line += QString::number(button->isChecked());
        else if (const auto *list = qobject_cast<const QComboBox *>(control))
            line += list->currentText();
        state.append(line);
    }
    for (const TableDefinition &table : kTables)
        state.append(QLatin1String(table.name) + QLatin1Char('=') +
                     f.database.records(table.table).join(QLatin1Char(',')));
    return state;
}
} // namespace

class tst_HelpEntries : public QObject
{
    Q_OBJECT

  private slots:
    void startsTheInstructions_data();
    void startsTheInstructions();
};

void tst_HelpEntries::startsTheInstructions_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("document");
    QTest::newRow("pdf") << "mnuSyncInstruct"
                         << "C:\\Program Files\\Internet Explorer\\iexplore.exe C:\\Program "
                            "Files\\RevuredAveze\\XCopyInstuctions.pdf"
                         << "XCopyInstuctions.pdf";
    QTest::newRow("txt") << "mnuSyncInstructTxt"
                         << "notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt"
                         << "XCopyInstruct.txt";
}

void tst_HelpEntries::startsTheInstructions()
{
    QFETCH(QString, entry);
    QFETCH(QString, commandLine);
    QFETCH(QString, document);
    WindowFixture f;
    f.database.add(Table::AutoSync, {QStringLiteral("1")});
    f.database.add(Table::Days, {QStringLiteral("7")});
    f.database.add(Table::Time, {QStringLiteral("10:00:00 PM")});
    f.open().show();
    // An active schedule as the window shows it, whichever handlers have set it up.
    f.find<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("/home/anna/Photos"));
    f.find<QAbstractButton>(QStringLiteral("Check1"))->setChecked(true);
    f.find<QLabel>(QStringLiteral("lblNextDate"))->setText(QStringLiteral("3/12/2026"));
    f.find<QLabel>(QStringLiteral("lblSyncSet"))->show();
    f.messages.shown.clear();
    const QStringList before = windowAndRecords(f);

    f.find<QAction>(entry)->trigger();
    QCOMPARE(f.programs.started.size(), 1);
    const ProgramStart &started = f.programs.started.first();
    QCOMPARE(started.commandLine, commandLine);
    QCOMPARE(started.program, QStringLiteral("xdg-open"));
    QCOMPARE(started.arguments, QStringList{f.installFolder.filePath(document)});
    QVERIFY(started.state == WindowState::MaximizedFocus);
    QCOMPARE(f.messages.shown, QStringList());

    // A viewer that cannot be started is reported with the reason; nothing else changes.
    const QString reason = QStringLiteral("xdg-open was not found: No such file or directory");
    f.programs.failure = [&](const ProgramStart &) { return reason; };
    f.find<QAction>(entry)->trigger();
    QCOMPARE(f.messages.shown.size(), 1);
    const QString message = f.messages.shown.first();
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(f.installFolder.filePath(document))),
             qPrintable(message));
    QCOMPARE(windowAndRecords(f), before);
}

QTEST_MAIN(tst_HelpEntries)
#include "tst_helpentries.moc"
