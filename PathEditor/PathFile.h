// Path resource files beside the CubicBSpline members that save and load them.
#pragma once

#include <string>

// Copies the file `name`, if there is one, to the first free name of name.bak0, name.bak1, ...
// A document that parses is copied as the XML library prints it, any other file byte for
// byte; an existing backup is never overwritten. False when there was something to keep
// and it could not be kept.
bool BackupExisting(const std::string& name);
