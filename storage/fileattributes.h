#pragma once

#include <string>

// Copies the extended attributes (and so the ACLs) of the file at from onto
// the open file to. Returns 0, or the errno value of why to cannot have them
// all: EEXIST where to has one from its directory (a default ACL) that from
// lacks.
int CopyAttributes(const std::string &from, int to);
