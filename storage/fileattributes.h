#pragma once

#include <string>

// Gives the open file to the extended attributes (and so the ACLs) of the
// file at from. Returns 0, or the errno value of why it cannot have them all;
// EEXIST where to has one from its directory (a default ACL) that from lacks.
int CopyAttributes(const std::string &from, int to);
