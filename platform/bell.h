#pragma once

// The sound of the beep. ring() returns at once, whatever the sound layer
// does; false tells the caller that this bell cannot sound, so that it
// falls back on another one.
class Bell
{
public:
    virtual ~Bell() = default;
    virtual bool ring() = 0;
};
