#include "toolkit/MessageBox.h"

#include <QMessageBox>

#include "toolkit/QtText.h"

namespace tavelo {

void ShowMessageBox(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(text), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace tavelo
