#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

// The error text of a call of ReadSettings or WriteSettings, "" when it succeeds.
std::string ErrorOf(const std::function<void()> &call);

// Runs call in a child process and returns what it returned, or nullopt when
// it has not returned within the given time (the child is killed then), so
// that a call that hangs fails its test instead of holding the test run.
std::optional<std::string> ReturnsWithin(std::chrono::milliseconds bound,
                                         const std::function<std::string()> &call);
