#include "platform/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The platform averages the widths of the 52 Latin letters and rounds.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = qMax(1, (metrics.horizontalAdvance(letters) / 26 + 1) / 2);
    m_baseY = qMax(1, metrics.height());
}

int DialogUnits::toPixelsX(int units) const {
    return (units * m_baseX + 2) / 4;
}

int DialogUnits::toPixelsY(int units) const {
    return (units * m_baseY + 4) / 8;
}

QRect DialogUnits::toPixels(int x, int y, int cx, int cy) const {
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(cx), toPixelsY(cy));
}

QSize DialogUnits::toPixels(int cx, int cy) const {
    return QSize(toPixelsX(cx), toPixelsY(cy));
}
