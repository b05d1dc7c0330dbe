#include "image/csscolour.h"

#include <QRegularExpression>

namespace quorva {
namespace {

int channel(const QString& text, bool& ok)
{
    const QString trimmed = text.trimmed();
    if (trimmed.endsWith(QLatin1Char('%'))) {
        const double percent = trimmed.chopped(1).toDouble(&ok);
        ok = ok && percent >= 0 && percent <= 100;
        return qRound(percent * 255 / 100.0);
    }
    const double value = trimmed.toDouble(&ok);
    ok = ok && value >= 0 && value <= 255;
    return qRound(value);
}

} // namespace

QColor parseCssColour(const QString& text)
{
    const QString colour = text.trimmed().toLower();
    if (colour.startsWith(QLatin1Char('#'))) {
        QString hex = colour.mid(1);
        if (hex.size() == 3 || hex.size() == 4) { // #RGB and #RGBA: each digit doubled
            QString doubled;
            for (const QChar digit : hex)
                doubled += QString(2, digit);
            hex = doubled;
        }
        bool ok = false;
        const uint value = hex.toUInt(&ok, 16);
        if (!ok || (hex.size() != 6 && hex.size() != 8))
            return {};
        // CSS puts the alpha last: #RRGGBBAA.
        return hex.size() == 6 ? QColor::fromRgb(value >> 16, (value >> 8) & 0xff, value & 0xff)
                               : QColor::fromRgb(value >> 24, (value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
    }
    static const QRegularExpression function(QStringLiteral(R"(^rgba?\(([^)]*)\)$)"));
    if (const QRegularExpressionMatch match = function.match(colour); match.hasMatch()) {
        const QStringList parts
            = match.captured(1).split(QRegularExpression(QStringLiteral("[,\\s/]+")), Qt::SkipEmptyParts);
        if (parts.size() != 3 && parts.size() != 4)
            return {};
        bool ok[4] = {true, true, true, true};
        const int red = channel(parts[0], ok[0]), green = channel(parts[1], ok[1]), blue = channel(parts[2], ok[2]);
        int alpha = 255;
        if (parts.size() == 4) { // a fraction of 1, or a percentage
            const bool percent = parts[3].endsWith(QLatin1Char('%'));
            const double value = (percent ? parts[3].chopped(1) : parts[3]).toDouble(&ok[3]);
            alpha = qRound(percent ? value * 2.55 : value * 255);
            ok[3] = ok[3] && alpha >= 0 && alpha <= 255;
        }
        if (!ok[0] || !ok[1] || !ok[2] || !ok[3])
            return {};
        return QColor::fromRgb(red, green, blue, alpha);
    }
    // The CSS colour names are SVG's, which Qt knows, and CSS 4's one more; nothing else of Qt's
    // own forms is taken.
    if (colour == QLatin1String("rebeccapurple"))
        return QColor::fromRgb(0x66, 0x33, 0x99);
    if (!colour.isEmpty() && colour.front().isLetter() && QColor::isValidColorName(colour))
        return QColor::fromString(colour);
    return {};
}

} // namespace quorva
