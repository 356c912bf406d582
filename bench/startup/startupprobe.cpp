#include "startupprobe.h"

#include <QApplication>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace {

class ShownProbe final : public QObject
{
  public:
    explicit ShownProbe(long long launch, QObject *parent) : QObject(parent), m_launch(launch) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (!m_done && event->type() == QEvent::Expose && window && window->isExposed()) {
            m_done = true;
            const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::system_clock::now().time_since_epoch())
                                      .count();
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("%.2f %ld\n", double(now - m_launch) / 1e6, usage.ru_maxrss);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return false;
    }

  private:
    long long m_launch;
    bool m_done = false;
};

} // namespace

void measureStartUntilShown(QApplication &application, const char *launchNanoseconds)
{
    application.installEventFilter(new ShownProbe(std::atoll(launchNanoseconds), &application));
}
