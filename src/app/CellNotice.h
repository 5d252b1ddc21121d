#pragma once

#include <QLabel>
#include <QTimer>

class QAbstractItemView;

// A note at a cell that tells why a value was refused, without taking the focus or
// stopping the typing: it goes after a few seconds, when the current cell moves or when
// the next value is taken.
class CellNotice : public QLabel {
    Q_OBJECT
  public:
    explicit CellNotice(QAbstractItemView& view);

    void ShowAt(const QModelIndex& cell, const QString& text);
    void Dismiss();

    static constexpr int ShownMilliseconds = 6000;

  private:
    QAbstractItemView& view_;
    QTimer hideTimer_;
};
