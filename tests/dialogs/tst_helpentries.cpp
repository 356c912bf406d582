#include "windowfixture.h"

#include <QAction>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {
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
        f.open();
        const QString path = f.installFolder.filePath(commandLine.section('\\', -1));

        f.find<QAction>(entry)->trigger();
        QCOMPARE(f.programs.started.size(), 1);
        const ProgramStart &started = f.programs.started.first();
        QCOMPARE(started.commandLine, commandLine);
        QCOMPARE(started.program, QStringLiteral("xdg-open"));
        QCOMPARE(started.arguments, QStringList{path});
        QVERIFY(started.state == WindowState::MaximizedFocus);
        QCOMPARE(f.messages.shown, QStringList());

        // A viewer that cannot be started is reported with the reason.
        const QString reason = QStringLiteral("xdg-open was not found: No such file or directory");
        f.programs.failure = [&](const ProgramStart &) { return reason; };
        f.find<QAction>(entry)->trigger();
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown[0].contains(reason) && f.messages.shown[0].contains(path),
                 qPrintable(f.messages.shown[0]));
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
