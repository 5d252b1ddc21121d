#include "MenuGlyphs.h"

#include <QAction>

namespace {
constexpr int GlyphCount = 22;
const char* const ImageIndexProperty = "imageIndex";
} // namespace

MenuGlyphs::MenuGlyphs() {
    for (int i = 0; i < GlyphCount; ++i) {
        icons_.append(QIcon(QString(":/glyphs/glyph%1.png").arg(i, 2, 10, QChar('0'))));
    }
}

QIcon MenuGlyphs::Glyph(int index) const {
    return (index >= 0 && index < Count()) ? icons_[index] : QIcon();
}

void MenuGlyphs::SetImageIndex(QAction* entry, int index) const {
    entry->setProperty(ImageIndexProperty, index);
    entry->setIcon(Glyph(index));
}

int MenuGlyphs::ImageIndex(const QAction* entry) {
    const QVariant index = entry->property(ImageIndexProperty);
    return index.isValid() ? index.toInt() : -1;
}

void MenuGlyphs::EnableMenuEntry(QAction* entry, bool enabled) const {
    entry->setEnabled(enabled);
    const int index = ImageIndex(entry);
    if (index < 0) {
        return;
    }
    SetImageIndex(entry, (index & ~1) + (enabled ? 1 : 0));
}
