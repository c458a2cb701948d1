#include "ui/shared/CellFont.h"

#include <QFontMetricsF>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

QStringList familiesFor(const QString& family) {
    if (family == QLatin1String(kSansFace))
        return {family, QStringLiteral("Liberation Sans")};
    if (family == QLatin1String(kSerifFace))
        return {family, QStringLiteral("Liberation Serif")};
    return {family};
}

} // namespace

QFont fontForCellHeight(const QString& family, int cellHeight, bool bold) {
    // The em-to-cell proportion depends only on the face and weight, so it is measured once.
    static QHash<QString, double> cellPerEm;
    QFont font;
    font.setFamilies(familiesFor(family));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    const QString key = family + (bold ? QStringLiteral("/b") : QStringLiteral("/r"));
    auto it = cellPerEm.find(key);
    if (it == cellPerEm.end()) {
        QFont probe = font;
        probe.setPixelSize(200);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        it = cellPerEm.insert(key, cell > 0 ? cell / 200.0 : 1.0);
    }
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(std::max(cellHeight, 1) / *it))));
    return font;
}
