#include "toolkit/GradientLabel.h"

#include <QLinearGradient>
#include <QPainter>

namespace tavelo {

GradientLabel::GradientLabel(QWidget* parent) : QLabel(parent) {
    // A caption is text, never mark-up: a nickname holding "<b>" shows as typed.
    setTextFormat(Qt::PlainText);
}

void GradientLabel::setGradientColours(const QList<QColor>& colours) {
    colours_ = colours;
    update();
}

void GradientLabel::setGradientColours(const QStringList& names) {
    QList<QColor> colours;
    for (const QString& name : names) {
        colours.append(QColor(name));
    }
    setGradientColours(colours);
}

QStringList GradientLabel::gradientColourNames() const {
    QStringList names;
    for (const QColor& colour : colours_) {
        names.append(colour.name(QColor::HexRgb).toUpper());
    }
    return names;
}

void GradientLabel::paintEvent(QPaintEvent* event) {
    if (!colours_.isEmpty()) {
        QPainter painter(this);
        if (colours_.size() == 1) {
            painter.fillRect(rect(), colours_.front());
        } else {
            // Stops on the centres of the first and last pixel columns, so that both edge
            // columns show their colour exactly.
            QLinearGradient gradient(0.5, 0, qMax(0.5, width() - 0.5), 0);
            const auto last = static_cast<double>(colours_.size() - 1);
            for (qsizetype i = 0; i < colours_.size(); ++i) {
                gradient.setColorAt(static_cast<double>(i) / last, colours_[i]);
            }
            painter.fillRect(rect(), gradient);
        }
    }
    QLabel::paintEvent(event);
}

}  // namespace tavelo
