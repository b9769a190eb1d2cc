#include "platform/dialog/DialogUnits.h"

#include <QFontMetrics>
#include <QHash>
#include <QString>

DialogUnits::DialogUnits(const QFont& font, double stretchX) : m_stretchX(stretchX) {
    const QFontMetrics metrics(font);
    m_baseY = qMax(1, metrics.height());
    // Every page of a sheet asks for the same font, and shaping the letters is the costly
    // part: their width is kept per font. The key holds the font's pixel height too, so the
    // same description on a screen of another resolution is measured again.
    static QHash<QString, int> widths;
    const QString key = font.key() + QLatin1Char('/') + QString::number(m_baseY);
    auto known = widths.constFind(key);
    if (known == widths.constEnd()) {
        // The platform averages the widths of the 52 Latin letters and rounds.
        const QString letters =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        known = widths.insert(key, metrics.horizontalAdvance(letters));
    }
    m_baseX = qMax(1, (*known / 26 + 1) / 2);
}

double DialogUnits::exactPixelsX(int units) const {
    return units * m_baseX * m_stretchX / 4.0;
}

int DialogUnits::toPixelsX(int units) const {
    return qRound(exactPixelsX(units));
}

int DialogUnits::toPixelsY(int units) const {
    return (units * m_baseY + 4) / 8;
}

QRect DialogUnits::toPixels(int x, int y, int cx, int cy) const {
    // Each edge is mapped on its own, as the platform maps a dialog rectangle, so boxes that
    // meet in the template meet in pixels and never overlap by a rounded pixel.
    return QRect(QPoint(toPixelsX(x), toPixelsY(y)),
                 QPoint(toPixelsX(x + cx) - 1, toPixelsY(y + cy) - 1));
}

QSize DialogUnits::toPixels(int cx, int cy) const {
    return QSize(toPixelsX(cx), toPixelsY(cy));
}
