#include "windowfixture.h"

#include "store/tables.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {
// Everything a user could see change: each control's visibility, availability and contents,
// and every record of the settings database.
QStringList windowAndRecords(WindowFixture &f)
{
    QStringList state;
    for (const QWidget *control : f.window().findChildren<QWidget *>()) {
        QString line = control->objectName() + QString::number(control->isVisible()) +
                       QString::number(control->isEnabled());
        for (const char *property : {"text", "checked", "readOnly", "currentText"})
            line += QLatin1Char(' ') + control->property(property).toString();
        state.append(line);
    }
    for (const TableDefinition &table : kTables)
        state.append(f.database.records(table.table).join(QLatin1Char(',')));
    return state;
}

// The characters of a text without the lines matching `dropped`, line breaks and blanks (the pdf
// may break a long path after a slash), with typographic ligatures taken apart.
QString printedCharacters(const QByteArray &utf8, const char *dropped)
{
    return QString::fromUtf8(utf8)
        .remove(QRegularExpression(dropped, QRegularExpression::MultilineOption))
        .normalized(QString::NormalizationForm_KC)
        .remove(QRegularExpression("\\s+"));
}
} // namespace

class tst_HelpEntries : public QObject
{
    Q_OBJECT

  private slots:
    void startsTheInstructions_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("commandLine"); // ends with the document the entry opens
        QTest::newRow("pdf") << "mnuSyncInstruct"
                             << "C:\\Program Files\\Internet Explorer\\iexplore.exe C:\\Program "
                                "Files\\RevuredAveze\\XCopyInstuctions.pdf";
        QTest::newRow("txt") << "mnuSyncInstructTxt"
                             << "notepad.exe C:\\Program Files\\RevuredAVeze\\XCopyInstruct.txt";
    }

    void startsTheInstructions()
    {
        QFETCH(QString, entry);
        QFETCH(QString, commandLine);
        WindowFixture f;
        f.database.add(Table::AutoSync, {"1"});
        f.database.add(Table::Days, {"7"});
        f.database.add(Table::Time, {"10:00:00 PM"});
        f.open().show();
        // An active schedule as the window shows it, whichever handlers have set it up.
        f.find<QLineEdit>("Text1")->setText("/home/anna/Photos");
        f.find<QAbstractButton>("Check1")->setChecked(true);
        f.find<QLabel>("lblNextDate")->setText("3/12/2026");
        f.find<QLabel>("lblSyncSet")->show();
        f.messages.shown.clear();
        const QStringList before = windowAndRecords(f);
        const QString path = f.installFolder.filePath(commandLine.section('\\', -1));

        f.find<QAction>(entry)->trigger();
        QCOMPARE(f.programs.started.size(), 1);
        const ProgramStart &started = f.programs.started.first();
        QCOMPARE(started.commandLine, commandLine);
        QCOMPARE(started.program, QStringLiteral("xdg-open"));
        QCOMPARE(started.arguments, QStringList{path});
        QVERIFY(started.state == WindowState::MaximizedFocus);
        QCOMPARE(f.messages.shown, QStringList());

        // A viewer that cannot be started is reported with the reason; nothing else changes.
        const QString reason = QStringLiteral("xdg-open was not found: No such file or directory");
        f.programs.failure = [&](const ProgramStart &) { return reason; };
        f.find<QAction>(entry)->trigger();
        QCOMPARE(f.messages.shown.size(), 1);
        const QString message = f.messages.shown.first();
        QVERIFY2(message.contains(reason) && message.contains(path), qPrintable(message));
        QCOMPARE(windowAndRecords(f), before);
    }

    void pdfHoldsTheTextInOrder()
    {
        QFile text(QStringLiteral(INSTRUCTIONS_TEXT));
        QVERIFY2(text.open(QIODevice::ReadOnly), qPrintable(text.errorString()));
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-enc", "UTF-8", INSTRUCTIONS_PDF, "-"});
        QVERIFY2(pdftotext.waitForFinished(), qPrintable(pdftotext.errorString()));
        QCOMPARE(pdftotext.exitCode(), 0);

        // The text underlines its headings, which the pdf sets as headings instead; the pdf puts
        // page numbers on lines of their own.
        const QString plain = printedCharacters(text.readAll(), "^[=-]+$");
        QVERIFY(plain.size() > 5000);
        QCOMPARE(printedCharacters(pdftotext.readAllStandardOutput(), "^\\d+$"), plain);
    }
};

QTEST_MAIN(tst_HelpEntries)
#include "tst_helpentries.moc"
