// A label whose background is a horizontal gradient through evenly spaced colour stops.
#pragma once

#include <QColor>
#include <QLabel>
#include <QList>
#include <QStringList>

namespace tavelo {

// The first colour lies on the left edge, the last on the right edge and the others evenly
// between them; each channel goes linearly from one stop to the next. One colour fills the
// label; none leaves the background to the parent, as a plain label does. The caption is
// plain text (never read as mark-up), drawn over the gradient.
class GradientLabel : public QLabel {
    Q_OBJECT
    // The stops as colour names ("#0080FF"), so that forms can give them.
    Q_PROPERTY(QStringList gradientColours READ gradientColourNames WRITE setGradientColours)

public:
    explicit GradientLabel(QWidget* parent = nullptr);

    void setGradientColours(const QList<QColor>& colours);
    const QList<QColor>& gradientColours() const { return colours_; }

    void setGradientColours(const QStringList& names);
    QStringList gradientColourNames() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QColor> colours_;
};

}  // namespace tavelo
