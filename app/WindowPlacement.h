#pragma once

// Where a restored window goes when its saved place lies off every screen today (a monitor was
// removed or the layout changed): onto the nearest screen, whole when it fits.

#include <QList>
#include <QRect>

namespace pictavo::app {

// rect unchanged when it overlaps a screen's area; otherwise moved (and shrunk when larger)
// into the screen area nearest to it. No screens: rect unchanged.
QRect MoveOntoNearestScreen(const QRect& rect, const QList<QRect>& screens);

}  // namespace pictavo::app
