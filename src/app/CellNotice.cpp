#include "CellNotice.h"

#include <QAbstractItemView>

#include <algorithm>

CellNotice::CellNotice(QAbstractItemView& view) : QLabel(view.viewport()), view_(view) {
    setObjectName("CellNotice");
    // The colours and frame of a tool tip, inside the grid: no window of its own, so
    // that no focus or key event of the typing closes it.
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(2);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(ShownMilliseconds);
    connect(&hideTimer_, &QTimer::timeout, this, &CellNotice::Dismiss);
}

void CellNotice::ShowAt(const QModelIndex& cell, const QString& text) {
    setText(text);
    adjustSize();
    const QRect rect = view_.visualRect(cell);
    const QWidget* area = view_.viewport();
    // Below the cell where there is room, else above it; never past the right edge.
    QPoint place = rect.bottomLeft() + QPoint(0, 1);
    if (place.y() + height() > area->height()) {
        place.setY(std::max(0, rect.top() - height() - 1));
    }
    place.setX(std::clamp(place.x(), 0, std::max(0, area->width() - width())));
    move(place);
    show();
    raise();
    hideTimer_.start();
}

void CellNotice::Dismiss() {
    hideTimer_.stop();
    hide();
}
