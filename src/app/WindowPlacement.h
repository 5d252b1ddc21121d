#pragma once

#include <QRect>

// The window's frame on a screen's available area: where it fits, as it is; otherwise
// moved in from the edges it crosses, and then, if still too big, shrunk to the area.
QRect FitIntoArea(const QRect& frame, const QRect& area);
