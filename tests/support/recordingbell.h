#pragma once

#include "platform/bell.h"

// Counts its rings and sounds or not, as the test sets.
class RecordingBell : public Bell
{
public:
    bool ring() override
    {
        ++rings;
        return sounds;
    }
    int rings = 0;
    bool sounds = true;
};
