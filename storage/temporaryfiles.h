#pragma once

#include <string>
#include <string_view>

// The temporary files that a write makes beside the file it replaces, named
// ".<name>.hopsala-XXXXXX.neu", and the sweep of those a dead writer left.

// The length of what follows the six X of a template, as mkostemps takes it.
inline constexpr int TemporarySuffixLength = 4;

// The template for mkostemps of a temporary file for fileName in directory.
std::string TemporaryNameTemplate(const std::string &directory, const std::string &fileName);

// Whether name is one of the temporary files that a write of the file
// targetName leaves behind when its process dies before the rename.
bool IsTemporaryNameOf(std::string_view name, std::string_view targetName);

// Removes the temporary files of fileName in directory that are a dead
// writer's: regular files of this user that no live writer holds. Every
// writer holds its temporary file until the rename, also one that went on
// without the writers' lock; the sweep runs only under that lock.
void RemoveLeftovers(const std::string &directory, const std::string &fileName);
