#pragma once

// The columns of a data-driven test of the three levels, and a row for
// each: level (its menu entry, 0 to 2), stepX, stepY, name (as Wahl.txt
// holds it) and levelName (UTF-8, as LevelName holds it).
void addLevelRows();
