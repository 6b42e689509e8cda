#include "platform/events/DoEvents.h"

#include <QCoreApplication>

namespace quorvane {

void DoEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace quorvane
