#pragma once
// The text colours of the mail table's states, made for the palette the
// table is painted with, light, dark or high-contrast alike.
//
// Each state keeps its hue (unread: the palette's link colour; an error mail:
// red, the one hue no palette role names) but is drawn towards the palette's
// text colour until it reads on both the base and the alternate base (the
// table alternates them) with a contrast ratio of at least 4.5:1. A palette
// whose own text does not reach that ends at its text colour.
#include <QColor>

class QPalette;

namespace wex {

struct StateColours {
    QColor unread;
    QColor error;

    static StateColours forPalette(const QPalette &palette);
};

// The contrast ratio of two colours as WCAG defines it: 1 (same luminance) to 21.
double ContrastRatio(const QColor &a, const QColor &b);
// The hue drawn towards the palette's text until it reads on its bases.
QColor ReadableOn(const QColor &hue, const QPalette &palette);

} // namespace wex
