// Built on Windows only: the drive letters.
#include "drives.h"

#include <QDir>

namespace {

class WindowsDrives final : public Drives
{
  public:
    QList<Drive> list() const override
    {
        QList<Drive> drives;
        for (const QFileInfo &root : QDir::drives()) {
            const QString path = QDir::toNativeSeparators(root.absolutePath());
            drives.append({path, path.left(2).toLower()});
        }
        return drives;
    }
};

} // namespace

std::unique_ptr<Drives> makeDrives()
{
    return std::make_unique<WindowsDrives>();
}
