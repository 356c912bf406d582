#include "toplevelwindows.h"
#include "windowfixture.h"

#include "dialogs/frmabout.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {
frmAbout *theAboutWindow()
{
    const QList<frmAbout *> windows = openWindows<frmAbout>();
    if (windows.size() != 1)
        qFatal("%d About windows are open", int(windows.size()));
    return windows.first();
}

QString labelText(const QWidget *window, const char *name)
{
    return window->findChild<QLabel *>(QLatin1String(name))->text();
}
} // namespace

class tst_About : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup() { deleteWindows<frmAbout>(); }

    void oneAboutWindowHoweverOftenOpened();
    void showsTheProgramsTexts();
    void separatorIsEtched();
};

void tst_About::oneAboutWindowHoweverOftenOpened()
{
    WindowFixture f;
    f.open().show();
    QAction *about = f.find<QAction>(QStringLiteral("mnuAbout"));
    about->trigger();
    about->trigger();
    const QPointer<frmAbout> window = theAboutWindow();
    QVERIFY(window->isVisible());
    QCOMPARE(window->parentWidget(), nullptr);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QTRY_VERIFY(window.isNull());
    QVERIFY(f.window().isVisible());

    about->trigger();
    QVERIFY(theAboutWindow()->isVisible());

    // The About window does not depend on the main window.
    f.window().close();
    QTRY_VERIFY(!f.isOpen());
    QVERIFY(theAboutWindow()->isVisible());
}

void tst_About::showsTheProgramsTexts()
{
    frmAbout window;
    for (int load = 0; load < 2; ++load) {
        QCOMPARE(window.windowTitle(), QStringLiteral("About RevuredAVeze"));
        QCOMPARE(labelText(&window, "lblTitle"), QStringLiteral("RevuredAVeze"));
        QCOMPARE(labelText(&window, "lblVersion"), QStringLiteral("Version " BUILD_VERSION));

        // Whatever the window shows before loading, loading puts the program's texts back.
        window.setWindowTitle(QStringLiteral("Caption"));
        window.findChild<QLabel *>(QStringLiteral("lblTitle"))->setText(QStringLiteral("Title"));
        window.findChild<QLabel *>(QStringLiteral("lblVersion"))->setText(QStringLiteral("1"));
        window.Form_Load();
    }
    QCOMPARE(labelText(&window, "lblDescription"),
             QStringLiteral("Tolvan's XCopy allows users to quickly copy folders, subfolders and "
                            "their files. It is ideal for creating a copy to a second drive.  "
                            "Copy  up to 7 Folders, their subfolders and files,  either manually "
                            "or at set time intervals."));
    // Two short sentences: the terms of use, and where to report problems.
    const QString notice = labelText(&window, "lblDisclaimer");
    const QRegularExpression twoSentences(
        QStringLiteral("^[^.]+\\. [^.]*report[^.]* (www\\.)?\\w+(\\.\\w+)+\\S*\\.$"));
    QVERIFY2(twoSentences.match(notice).hasMatch(), qPrintable(notice));
}

void tst_About::separatorIsEtched()
{
    frmAbout window;
    const QImage shown = window.grab().toImage();
    for (int x : {10, 190, 376}) {
        QCOMPARE(shown.pixelColor(x, 163), QColor(0x80, 0x80, 0x80));
        QCOMPARE(shown.pixelColor(x, 164), QColor(0xFF, 0xFF, 0xFF));
    }
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
