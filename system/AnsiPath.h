// The program's own command line taken from its Unicode form, and a command
// line made to name the same files from another process.
#pragma once

#include <string>

#include "system/WidePath.h"

// The program's own command line after its name and the blanks that follow
// (the text the entry point receives), taken from the Unicode form.
std::string OwnCommandLine();

// The command-line text with every path that is not full made full against
// this process's current folder, in the same format (blank-separated, quotes
// around a path holding a blank), so that another process reads the same files.
// A token that begins with a single '/' (such as /verify) is never a path and
// stays as it is.
std::string FullPathsCommandLine(const char* text);
