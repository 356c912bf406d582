// Times a folder list from being pointed at a folder with 10,000 subfolders until the list has
// been painted, and prints each run and the median.
#include "controls/folderlist.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kSubfolders = 10000;
constexpr int kRuns = 9;

// Notes each paint of the list's viewport.
class PaintWatch final : public QObject
{
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

bool waitForPaint(PaintWatch &watch)
{
    const QDeadlineTimer deadline(10000);
    while (!watch.painted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return watch.painted;
}

bool makeFolders(const QString &root)
{
    QDir folder(root);
    if (!folder.mkdir(QStringLiteral("small")) || !folder.mkdir(QStringLiteral("big")))
        return false;
    folder.cd(QStringLiteral("big"));
    for (int i = 1; i <= kSubfolders; ++i) {
        if (!folder.mkdir(QStringLiteral("Folder %1").arg(i, 5, 10, QLatin1Char('0'))))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir root;
    if (!root.isValid() || !makeFolders(root.path())) {
        std::fprintf(stderr, "cannot make the test folders in %s\n", qPrintable(root.path()));
        return 1;
    }
    const QString small = root.filePath(QStringLiteral("small"));
    const QString big = root.filePath(QStringLiteral("big"));

    FolderList list;
    list.resize(153, 156); // the main window's folder lists
    list.show();
    if (!QTest::qWaitForWindowExposed(&list))
        return 1;
    PaintWatch watch;
    list.viewport()->installEventFilter(&watch);

    QList<double> seconds;
    for (int run = 0; run < kRuns; ++run) {
        watch.painted = false;
        if (const Outcome shown = list.setPath(small); !shown.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(shown.why()));
            return 1;
        }
        waitForPaint(watch);

        watch.painted = false;
        QElapsedTimer timer;
        timer.start();
        if (const Outcome shown = list.setPath(big); !shown.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(shown.why()));
            return 1;
        }
        if (!waitForPaint(watch)) {
            std::fprintf(stderr, "the list was never painted\n");
            return 1;
        }
        seconds.append(double(timer.nsecsElapsed()) / 1e9);
        std::printf("run %d: %.3f s (%lld entries)\n", run + 1, seconds.last(),
                    qlonglong(list.model()->rowCount()));
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("folder with %d subfolders, opening to list shown: median %.3f s, best %.3f s, "
                "worst %.3f s over %d runs\n",
                kSubfolders, seconds[kRuns / 2], seconds.first(), seconds.last(), kRuns);
    return 0;
}
