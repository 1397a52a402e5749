#include "toolkit/KeyEditBox.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTextCursor>

#include "toolkit/KeyCodes.h"
#include "toolkit/QtText.h"

namespace tavelo {

KeyEditBox::KeyEditBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTabChangesFocus(false);
    applySelectionColours(false);
}

Text KeyEditBox::text() const {
    QString content = toPlainText();
    content.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToText(content);
}

void KeyEditBox::setText(std::string_view gbk) {
    QString content = ToQString(gbk);
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(content);
}

void KeyEditBox::setHideSelection(bool hide) {
    hideSelection_ = hide;
    applySelectionColours(!hide);
}

void KeyEditBox::applySelectionColours(bool visible) {
    // Without the focus the text control paints the selection in the inactive colours.
    QPalette colours = palette();
    colours.setColor(
        QPalette::Inactive, QPalette::Highlight,
        visible ? colours.color(QPalette::Active, QPalette::Highlight) : QColor(Qt::transparent));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     visible ? colours.color(QPalette::Active, QPalette::HighlightedText)
                             : colours.color(QPalette::Inactive, QPalette::Text));
    setPalette(colours);
}

void KeyEditBox::keyPressEvent(QKeyEvent* event) {
    const QPointer<KeyEditBox> alive(this);
    emit keyPressed(VirtualKeyCode(event->key()), ModifierState(event->modifiers()));
    if (!alive) {
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Every Enter breaks the line, whatever modifiers are held (the plain text control
        // would ignore Ctrl+Enter).
        event->accept();
        if (!isReadOnly()) {
            textCursor().insertText(QStringLiteral("\n"));
            ensureCursorVisible();
        }
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void KeyEditBox::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) {
        const QPointer<KeyEditBox> alive(this);
        emit keyReleased(VirtualKeyCode(event->key()), ModifierState(event->modifiers()));
        if (!alive) {
            return;
        }
    }
    QPlainTextEdit::keyReleaseEvent(event);
}

void KeyEditBox::focusOutEvent(QFocusEvent* event) {
    if (hideSelection_) {
        applySelectionColours(false);  // again: a style sheet may have set the palette anew
    }
    const QPointer<KeyEditBox> alive(this);
    QPlainTextEdit::focusOutEvent(event);
    if (alive) {
        emit focusLost();
    }
}

void KeyEditBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QPointer<KeyEditBox> alive(this);
        emit rightButtonReleased();
        if (!alive) {
            return;
        }
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

}  // namespace tavelo
