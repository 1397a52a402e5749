// A label that draws only its caption and lets every mouse event through to what lies below.
#pragma once

#include <QLabel>

namespace tavelo {

// Presses on it reach the control underneath (the page of a browser, the window's background),
// as if the label were painted onto it.
class TransparentLabel : public QLabel {
    Q_OBJECT

public:
    explicit TransparentLabel(QWidget* parent = nullptr);
};

}  // namespace tavelo
