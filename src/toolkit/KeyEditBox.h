// A multi-line edit box that reports each key, with its code and modifier state, before
// handling the key itself.
#pragma once

#include <string_view>

#include <QPlainTextEdit>

#include "text/Text.h"

namespace tavelo {

// Word-wrapped plain text with a vertical scroll bar. Enter, with or without Ctrl, Shift or
// Alt, inserts a line break, always after keyPressed has been handled: a handler that empties
// the box leaves the new line break in it. A handler may run a nested event loop and may
// even destroy the box; the box then does nothing more with the key. While the box does not
// have the focus its selection is not shown (unless hideSelection is false).
class KeyEditBox : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(bool hideSelection READ hideSelection WRITE setHideSelection)

public:
    explicit KeyEditBox(QWidget* parent = nullptr);

    // The content as a code page 936 text whose line breaks are CR LF.
    Text text() const;
    // Replaces the content; CR LF, and a lone LF, start a new line.
    void setText(std::string_view gbk);

    bool hideSelection() const { return hideSelection_; }
    void setHideSelection(bool hide);

signals:
    // keyCode as VirtualKeyCode gives it, modifierState as ModifierState gives it.
    void keyPressed(int keyCode, int modifierState);
    // Not reported for the releases that a held key's auto-repeat produces.
    void keyReleased(int keyCode, int modifierState);
    void focusLost();
    void rightButtonReleased();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applySelectionColours(bool visible);

    bool hideSelection_ = true;
};

}  // namespace tavelo
