#include "programstyle.h"

#include "drawnicons.h"

ProgramStyle::ProgramStyle(const QString &baseStyle) : QProxyStyle(baseStyle) {}

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                 const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton)
        return overflowArrowIcon();
    return QProxyStyle::standardIcon(icon, option, widget);
}
