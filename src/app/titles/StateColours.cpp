#include "StateColours.h"

#include <QPalette>
#include <algorithm>
#include <cmath>

namespace wex {
namespace {

constexpr double kReadableRatio = 4.5;

double Channel(double value)
{
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &colour)
{
    return 0.2126 * Channel(colour.redF()) + 0.7152 * Channel(colour.greenF()) + 0.0722 * Channel(colour.blueF());
}

QColor Mix(const QColor &from, const QColor &to, double share)
{
    const auto part = [share](float a, float b) { return a + (b - a) * float(share); };
    return QColor::fromRgbF(part(from.redF(), to.redF()), part(from.greenF(), to.greenF()),
                            part(from.blueF(), to.blueF()));
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor &hue, const QPalette &palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor alternate = palette.color(QPalette::AlternateBase);
    const QColor text = palette.color(QPalette::Text);
    // Tenths of the way to the text colour: the first that reads keeps the most hue.
    for (int step = 0; step < 10; ++step) {
        const QColor candidate = Mix(hue, text, step / 10.0);
        if (std::min(ContrastRatio(candidate, base), ContrastRatio(candidate, alternate)) >= kReadableRatio)
            return candidate;
    }
    return text;
}

StateColours StateColours::forPalette(const QPalette &palette)
{
    return {ReadableOn(palette.color(QPalette::Link), palette), ReadableOn(QColor(0xc0, 0x1c, 0x28), palette)};
}

} // namespace wex
