#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {
// The characters of a text without its line breaks and blanks (the pdf may break a long path
// after a slash), with typographic ligatures taken apart.
QString printedCharacters(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC)
        .remove(QRegularExpression(QStringLiteral("\\s+")));
}
} // namespace

class tst_Instructions : public QObject
{
    Q_OBJECT

  private slots:
    void pdfHoldsTheTextInOrder();
};

void tst_Instructions::pdfHoldsTheTextInOrder()
{
    QFile text(QStringLiteral(INSTRUCTIONS_TEXT));
    QVERIFY2(text.open(QIODevice::ReadOnly), qPrintable(text.errorString()));
    // The lines that underline the headings are how the text marks them; the pdf sets them as
    // headings instead.
    QString plain = QString::fromUtf8(text.readAll());
    plain.remove(
        QRegularExpression(QStringLiteral("^[=-]+$"), QRegularExpression::MultilineOption));

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                     QStringLiteral(INSTRUCTIONS_PDF), QStringLiteral("-")});
    QVERIFY2(pdftotext.waitForFinished(), qPrintable(pdftotext.errorString()));
    QCOMPARE(pdftotext.exitCode(), 0);
    QString typeset = QString::fromUtf8(pdftotext.readAllStandardOutput());
    // Page numbers stand on lines of their own.
    typeset.remove(
        QRegularExpression(QStringLiteral("^\\d+$"), QRegularExpression::MultilineOption));

    QVERIFY(plain.size() > 5000);
    QCOMPARE(printedCharacters(typeset), printedCharacters(plain));
}

QTEST_GUILESS_MAIN(tst_Instructions)
#include "tst_instructions.moc"
