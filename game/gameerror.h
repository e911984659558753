#pragma once

#include <exception>
#include <stdexcept>
#include <string>

// A failure of the game itself (a stored score that is no number). what() is
// a German sentence for the player.
class GameError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What the player reads about a failed handler: the German sentence of a
// SettingsError or GameError as it is; for any other failure, which carries
// no German text, a German sentence of its own.
std::string failureMessage(const std::exception &error);
