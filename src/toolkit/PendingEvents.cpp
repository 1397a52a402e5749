#include "toolkit/PendingEvents.h"

#include <QCoreApplication>

namespace tavelo {

void ProcessPendingEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace tavelo
