// Typesets the text instructions as the pdf instructions at build time, so that both documents
// come from one text and the repository holds no generated binary. The text is written so that
// it reads as plain text and as Markdown: its underlined headings and numbered lists come out as
// headings and lists in the pdf.
#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    QTextStream errors(stderr);
    if (argc != 3) {
        errors << "usage: makepdf INSTRUCTIONS.txt OUTPUT.pdf\n";
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        errors << "cannot read " << source.fileName() << ": " << source.errorString() << "\n";
        return 1;
    }
    const QString text = QString::fromUtf8(source.readAll());

    QFile target(QString::fromLocal8Bit(argv[2]));
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        errors << "cannot write " << target.fileName() << ": " << target.errorString() << "\n";
        return 1;
    }
    {
        QPdfWriter writer(&target);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(text.section(QLatin1Char('\n'), 0, 0));
        writer.setCreator(QStringLiteral("RevuredAVeze"));

        QTextDocument document;
        QFont font(QStringLiteral("DejaVu Sans"), 10);
        font.setStyleHint(QFont::SansSerif);
        document.setDefaultFont(font);
        document.setMarkdown(text);
        document.print(&writer);
    }
    target.close();
    if (target.error() != QFileDevice::NoError) {
        errors << "cannot write " << target.fileName() << ": " << target.errorString() << "\n";
        return 1;
    }
    return 0;
}
