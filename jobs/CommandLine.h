// The command-line path list: one hash-files job per path, in text order;
// the path after the token /create is a folder to list into a new checksum
// list instead.
#pragma once

// Matched without regard to case; a /create with no path after it is ignored.
constexpr const char* kCreateToken = "/create";

// text: the command line without the program's name (start-up), or a second
// instance's hand-off. Returns once the last path has been handed to its job.
void SplitCommandLine(const char* text);
