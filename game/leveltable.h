#pragma once

#include "game/toolkit.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

class FieldValue;

struct Level
{
    std::string_view name; // UTF-8
    std::int16_t stepX;
    std::int16_t stepY;
    Toolkit::MenuItem menuItem;
};

// The three levels in fixed order; the same order indexes the high-score
// table and the records of Wahl.txt.
inline constexpr std::array<Level, 3> LevelTable{{
    {"Anfänger", 8, 11, Toolkit::MenuItem::mnuAnf},
    {"Fortgeschrittener", 10, 15, Toolkit::MenuItem::mnuFor},
    {"Profi", 15, 25, Toolkit::MenuItem::mnuPro},
}};

// The index of the level whose name the field holds exactly (a text, same
// letter case, no added blanks); none for anything else.
std::optional<std::size_t> levelIndexByName(const FieldValue &field);
