#include "game/leveltable.h"

#include "storage/settings.h"

std::optional<std::size_t> levelIndexByName(const FieldValue &field)
{
    if (!field.isText())
        return std::nullopt;
    for (std::size_t i = 0; i < LevelTable.size(); ++i) {
        if (field.textValue() == LevelTable[i].name)
            return i;
    }
    return std::nullopt;
}
