// A soft drop shadow for a borderless window: a second, click-through window just around it,
// exactly the owner's rectangle grown by the shadow's width on every side and clear over the
// owner, following every move, resize, show and hide of the owner and hidden while the owner
// is minimised, maximised or hidden. Where translucent windows cannot be shown (an X11
// desktop without a compositing manager) the shadow stays hidden, since it would show black.
#pragma once

#include <QWidget>
#include <optional>

#include "decor/ShadowPicture.h"
#include "decor/ShadowWindow.h"

namespace tavelo {

// Properties on the owner: its ShadowWindow (QPointer<QWidget>) and the event filter that
// makes the shadow follow it (QPointer<QObject>); their presence means a shadow is attached.
inline constexpr char kShadowProperty[] = "Halvex.WndShadow";
inline constexpr char kShadowHandlerProperty[] = "Halvex.WndShadow.Proc";

// Prepares once per process, before the first window, what drawing the decoration needs.
// QPainter needs no start-up of its own; the shadows need to know whether a compositing
// manager runs, so this starts following that. Call after the QApplication exists; calling
// again does nothing more.
void StartGdiPlus();

// Attaches a shadow of the colour (0x00BBGGRR; 0 is black from the embedded frames) and
// width to the window, or updates the one it has; gives true. A width of 0 or less removes
// the shadow and the event handling and gives false; so does a null window.
bool SetWindowShadow(QWidget* window, ColourValue colour = 0, int size = 5);

// The owner's shadow window, made if it has none yet.
ShadowWindow* CreateShadowWindow(QWidget* owner);

// The owner's shadow window; null when it has none.
ShadowWindow* ShadowOf(const QWidget* owner);

// Shows (visible, or the owner's own visibility when not given), places and repaints the
// owner's shadow, or hides it.
void PlaceShadow(QWidget* owner, std::optional<bool> visible = std::nullopt);

// Paints the owner's shadow window afresh at width x height (its present size when either
// is 0).
void RenderShadow(QWidget* owner, int width, int height);

}  // namespace tavelo
