#include "listlock.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

namespace {

const char *const kLockName = "listLock";

// Swallows the input that would open the list or change its entry. Tab and Backtab still pass,
// so the focus can leave the list.
class ListLock final : public QObject
{
  public:
    explicit ListLock(QComboBox *list) : QObject(list)
    {
        setObjectName(QLatin1String(kLockName));
        list->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            return key != Qt::Key_Tab && key != Qt::Key_Backtab;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

void setListLocked(QComboBox *list, bool locked)
{
    QObject *lock =
        list->findChild<QObject *>(QLatin1String(kLockName), Qt::FindDirectChildrenOnly);
    if (locked && !lock)
        new ListLock(list);
    else if (!locked)
        delete lock;
}
