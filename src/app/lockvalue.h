// A lock box's value as the pair handlers compare it: 0 cleared, 1 ticked (2 greyed, never set).
#pragma once

#include <QCheckBox>

inline int lockValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        break;
    }
    return 2;
}
