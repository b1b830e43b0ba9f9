// The command-line path list: one hash-files job per path, in text order;
// the path after the token /verify is a checksum list to verify.
#pragma once

// Matched without regard to case.
constexpr const char* kVerifyToken = "/verify";

// text: the command line without the program's name (start-up), or a second
// instance's hand-off. Returns once the last path has been handed to its job.
void SplitCommandLine(const char* text);
