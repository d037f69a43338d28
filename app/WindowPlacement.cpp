#include "app/WindowPlacement.h"

#include <algorithm>
#include <limits>

namespace pictavo::app {

namespace {

// Squared distance from point to the nearest point of area.
long long DistanceSquared(const QPoint& point, const QRect& area) {
  const long long dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
  const long long dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
  return dx * dx + dy * dy;
}

}  // namespace

QRect MoveOntoNearestScreen(const QRect& rect, const QList<QRect>& screens) {
  // A sliver on a screen is not enough to grab the title bar: ask for a real overlap.
  constexpr int kMinVisible = 50;
  const QRect* nearest = nullptr;
  long long best = std::numeric_limits<long long>::max();
  for (const QRect& area : screens) {
    const QRect overlap = area.intersected(rect);
    if (overlap.width() >= std::min(kMinVisible, rect.width()) &&
        overlap.height() >= std::min(kMinVisible, rect.height()))
      return rect;
    const long long distance = DistanceSquared(rect.center(), area);
    if (distance < best) {
      best = distance;
      nearest = &area;
    }
  }
  if (!nearest) return rect;
  QRect moved(rect.topLeft(), rect.size().boundedTo(nearest->size()));
  moved.moveLeft(std::clamp(moved.left(), nearest->left(), nearest->right() - moved.width() + 1));
  moved.moveTop(std::clamp(moved.top(), nearest->top(), nearest->bottom() - moved.height() + 1));
  return moved;
}

}  // namespace pictavo::app
