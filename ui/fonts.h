#pragma once

#include <QFont>

// The bold "MS Sans Serif" of the windows' value and title labels at the
// given point size; where that font is missing, the nearest sans serif.
QFont classicFont(double pointSize);
