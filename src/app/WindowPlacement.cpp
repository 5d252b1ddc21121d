#include "WindowPlacement.h"

#include <algorithm>

QRect FitIntoArea(const QRect& frame, const QRect& area) {
    if (area.isEmpty() || area.contains(frame)) {
        return frame;
    }
    const QSize size = frame.size().boundedTo(area.size());
    const int x = std::clamp(frame.x(), area.left(), area.right() + 1 - size.width());
    const int y = std::clamp(frame.y(), area.top(), area.bottom() + 1 - size.height());
    return {QPoint(x, y), size};
}
