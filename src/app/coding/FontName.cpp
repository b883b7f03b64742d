#include "FontName.h"

#include <QFontDatabase>
#include <QStringList>

namespace wex {

namespace {

const QLatin1String kStyleElement("style=");

bool IsPlainFace(const QFont &font)
{
    return font.styleName().isEmpty() && font.weight() == QFont::Normal && font.style() == QFont::StyleNormal;
}

QString StyleOf(const QFont &font)
{
    return font.styleName().isEmpty() ? QFontDatabase::styleString(font) : font.styleName();
}

QString Escaped(const QString &family)
{
    QString out;
    for (const QChar c : family) {
        if (c == QLatin1Char(':') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

// Splits at unescaped ":" and drops the escapes.
QStringList Elements(const QString &name)
{
    QStringList elements{QString()};
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c == QLatin1Char('\\') && i + 1 < name.size())
            elements.last() += name.at(++i);
        else if (c == QLatin1Char(':'))
            elements.append(QString());
        else
            elements.last() += c;
    }
    return elements;
}

} // namespace

QString FontNameOf(const QFont &font)
{
    const QString family = Escaped(font.family());
    return IsPlainFace(font) ? family : family + QLatin1Char(':') + kStyleElement + StyleOf(font);
}

std::optional<QFont> FontFromName(const QString &name, double pointSize)
{
    const QStringList elements = Elements(name);
    const QString &family = elements.first();
    if (family.isEmpty() || !QFontDatabase::hasFamily(family))
        return std::nullopt;
    QString style;
    for (qsizetype i = 1; i < elements.size(); ++i)
        if (elements.at(i).startsWith(kStyleElement))
            style = elements.at(i).mid(kStyleElement.size());
    QFont font = style.isEmpty() ? QFont(family) : QFontDatabase::font(family, style, qRound(pointSize));
    // QFontDatabase::font answers the application font for a family without faces.
    if (font.family() != family)
        font = QFont(family);
    font.setPointSizeF(pointSize);
    return font;
}

QString FontDisplayName(const QFont &font)
{
    return IsPlainFace(font) ? font.family() : font.family() + QLatin1Char(' ') + StyleOf(font);
}

} // namespace wex
