#include "toolkit/TransparentLabel.h"

namespace tavelo {

TransparentLabel::TransparentLabel(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(false);
    setTextFormat(Qt::PlainText);  // a caption is text, never mark-up
}

}  // namespace tavelo
