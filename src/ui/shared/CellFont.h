#pragma once

#include <QFont>
#include <QString>

// Fonts are given the way the drawing code of this program names them: a face and the height of
// the character cell (ascent plus descent) in device pixels. Qt sizes fonts by the em, so the
// em size is derived from the face's own proportions. "Arial" and "Times New Roman" resolve to
// the metric-compatible Liberation faces when the originals are not installed.
QFont fontForCellHeight(const QString& family, int cellHeight, bool bold);

// The two faces used by the views, with their metric-compatible stand-ins as fallbacks.
inline const char* const kSansFace = "Arial";
inline const char* const kSerifFace = "Times New Roman";
