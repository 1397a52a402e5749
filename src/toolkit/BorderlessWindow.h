// A top-level window without the system's frame: it draws its own title bar, opens in the
// middle of its screen, closes on Esc and moves when the user drags its background.
#pragma once

#include <optional>

#include <QPoint>
#include <QWidget>

namespace tavelo {

// Base of the program's windows. A left press on the window's own background moves the window;
// so does a press on a child that leaves the press to its parent (labels, shape boxes), while
// edit boxes, buttons and the browser keep their presses. The move is the platform's own
// where it offers one, and follows the mouse by hand where it does not (X without a window
// manager, for instance).
class BorderlessWindow : public QWidget {
    Q_OBJECT

public:
    explicit BorderlessWindow(QWidget* parent = nullptr);

    // Places the window at ((screen width - width) / 2, (screen height - height) / 2).
    void centreOnScreen();

protected:
    // Esc pressed in the window or in any of its controls closes the window: watched for
    // the whole program, so that no control can keep Esc to itself.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The first show centres the window, wherever it was placed before.
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool shownBefore_ = false;
    // While a move by hand is under way: the press point relative to the window's corner.
    std::optional<QPoint> grabOffset_;
};

}  // namespace tavelo
