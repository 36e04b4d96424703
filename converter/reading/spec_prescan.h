// A quick look through a build description for the build spec it reads by
// default, before the file is read in earnest: then each statement can be
// taken as it is read, instead of waiting in memory for the build spec to be
// known.
#pragma once

#include <istream>
#include <string>

// A quick look through the whole file, before it is read, for the default
// spec and the first spec of its list; `in` is then back at its start.
// False (nothing found) when the stream cannot be set back.
bool prescanSpecs(std::istream& in, std::string& defaultSpec, std::string& firstSpec);
