// Lets the main window tick on the real clock and timer and counts what its clock label shows:
// seconds never shown, seconds shown twice, how late after the second each tick came, and the
// CPU time the otherwise idle program uses.
//
//   bench_clock [seconds]   (600 when not given)
#include "app/frmselect.h"
#include "common/textforms.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/messageboxes.h"
#include "platform/programstarter.h"
#include "store/settingsschema.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// What one tick left on the labels, and when it ran; read back only after the run so that the
// observation costs next to no CPU time.
struct Tick
{
    QString date;
    QString time;
    qint64 ranAtMs; // since the epoch
};

double cpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void report(const std::vector<Tick> &ticks, double seconds, double cpu)
{
    if (ticks.size() < 2) {
        std::printf("too few ticks: %zu\n", ticks.size());
        return;
    }
    int doubled = 0;
    std::vector<qint64> shown;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const QDateTime second(dateFromText(ticks[i].date), timeFromText(ticks[i].time));
        shown.push_back(second.toSecsSinceEpoch());
        if (i > 0 && shown[i] == shown[i - 1])
            ++doubled;
    }
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    const qint64 span = shown.back() - shown.front() + 1;
    const qint64 missed = span - static_cast<qint64>(shown.size());

    std::vector<int> late;
    for (const Tick &tick : ticks)
        late.push_back(static_cast<int>(tick.ranAtMs % 1000));
    std::sort(late.begin(), late.end());
    const double cpuPerHour = cpu * 3600.0 / seconds;

    std::printf("ticked for          %.0f s, %zu ticks over %lld seconds\n", seconds, ticks.size(),
                static_cast<long long>(span));
    std::printf("missed seconds      %lld   (target 0)\n", static_cast<long long>(missed));
    std::printf("doubled seconds     %d   (target 0)\n", doubled);
    std::printf("tick after second   median %d ms, 99th %d ms, max %d ms\n", late[late.size() / 2],
                late[late.size() * 99 / 100], late.back());
    std::printf("CPU time            %.3f s, %.3f s per hour of ticking   (target under 2 s)\n",
                cpu, cpuPerHour);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 600;
    if (seconds < 2) {
        std::fprintf(stderr, "usage: bench_clock [seconds, at least 2]\n");
        return 2;
    }

    const QTemporaryDir folder;
    const QString databasePath = folder.filePath(QStringLiteral("xcopy.mdb"));
    QString error;
    if (createSettingsDatabase(databasePath, &error) != CreateResult::Created) {
        std::fprintf(stderr, "cannot create the settings database: %s\n", qPrintable(error));
        return 2;
    }
    const std::unique_ptr<SettingsStore> store = SettingsStore::open(databasePath, &error);
    if (!store) {
        std::fprintf(stderr, "cannot open the settings database: %s\n", qPrintable(error));
        return 2;
    }
    SystemClock clock;
    QtMessageBoxes messages{QStringLiteral("RevuredAVeze")};
    const std::unique_ptr<ProgramStarter> programs = makeProgramStarter(folder.path());
    const std::unique_ptr<Drives> drives = makeDrives();
    frmSelect window({*store, clock, messages, *programs, *drives, folder.path()});
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();

    const auto *timer = window.findChild<QTimer *>(QStringLiteral("Timer1"));
    const auto *time = window.findChild<QLabel *>(QStringLiteral("lblTimer"));
    const auto *date = window.findChild<QLabel *>(QStringLiteral("lblDate"));
    std::vector<Tick> ticks;
    ticks.reserve(static_cast<std::size_t>(seconds) + 10);
    double cpuAtFirstTick = 0;
    // Connected after the window's own handler, so it sees the labels that tick has written.
    QObject::connect(timer, &QTimer::timeout, &window, [&] {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (ticks.empty())
            cpuAtFirstTick = cpuSeconds();
        ticks.push_back({date->text(), time->text(), now});
        const qint64 elapsedMs = now - ticks.front().ranAtMs;
        if (elapsedMs >= qint64(seconds) * 1000) {
            report(ticks, elapsedMs / 1000.0, cpuSeconds() - cpuAtFirstTick);
            QApplication::quit();
        }
    });
    return QApplication::exec();
}
