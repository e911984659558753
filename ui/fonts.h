#pragma once

#include <QFont>
#include <QList>

class QLabel;

// The bold "MS Sans Serif" of the windows' value and title labels at the
// given point size; where that font is missing, the nearest sans serif.
QFont classicFont(double pointSize);

// The layout was drawn for the narrow "MS Sans Serif"; the sans serifs of a
// Linux desktop run wider. A fixed caption keeps its place and height but
// widens to its text, up to the rightEdge pixel of its parent; only when even that is too
// narrow does its font shrink, so that no word is cut off. Captions that
// stand together shrink together.
void fitCaptions(const QList<QLabel *> &labels, int rightEdge);
