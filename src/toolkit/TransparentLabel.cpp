#include "toolkit/TransparentLabel.h"

namespace tavelo {

TransparentLabel::TransparentLabel(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(false);
}

}  // namespace tavelo
