#include "toolkit/ModalLoader.h"

#include <QEventLoop>
#include <QPointer>

namespace tavelo {

void LoadModal(std::unique_ptr<QWidget> window) {
    QPointer<QWidget> shown = window.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    shown->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(shown, &QObject::destroyed, &loop, &QEventLoop::quit);
    shown->show();
    loop.exec(QEventLoop::DialogExec);
    delete shown;  // still there only when the loop ended for the program's quit
}

}  // namespace tavelo
