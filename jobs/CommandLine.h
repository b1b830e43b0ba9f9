// The command-line path list: one hash-files job per path, in text order;
// the path after the token /verify is a checksum list to verify, the path
// after /create a folder to list into a new checksum list.
#pragma once

// Matched without regard to case; a token with no path after it is ignored.
constexpr const char* kVerifyToken = "/verify";
constexpr const char* kCreateToken = "/create";

// text: the command line without the program's name (start-up), or a second
// instance's hand-off. Returns once the last path has been handed to its job.
void SplitCommandLine(const char* text);
