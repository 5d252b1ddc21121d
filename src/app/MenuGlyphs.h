#pragma once

#include <QIcon>
#include <QVector>

class QAction;

// MenuGliphs: 22 glyphs of 16 x 16 as 11 pairs, the even index greyed, the odd index
// coloured. Menu entries keep their index in the "imageIndex" property (-1: no glyph).
class MenuGlyphs {
  public:
    MenuGlyphs();

    int Count() const { return static_cast<int>(icons_.size()); }
    QIcon Glyph(int index) const;

    // Gives an entry its glyph index and the picture that goes with it.
    void SetImageIndex(QAction* entry, int index) const;
    static int ImageIndex(const QAction* entry);

    // Enables or disables one menu entry and moves its glyph within its pair: the
    // coloured odd image when enabled, the greyed even one when disabled.
    void EnableMenuEntry(QAction* entry, bool enabled) const;

  private:
    QVector<QIcon> icons_;
};
