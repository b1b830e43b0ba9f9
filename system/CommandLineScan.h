// Cuts a command line into paths: paths separated by spaces, a path holding
// spaces written between double quotes.
#pragma once

// The longest path handed on whole: the job runner's path buffer less its
// terminating zero, room for the longest path the file calls take (32,767
// UTF-16 units, each at most three bytes in UTF-8; kPathTextSize - 1).
constexpr int kMaxHandedPath = 3 * 32767;

// What stands in for the rest of a path longer than kMaxHandedPath: '<' and
// '>' cannot occur in a file name, so the text handed on never names a file.
constexpr char kOverlongMark[] = "<...>";

// Receives each path, in the order of the text, zero-terminated, at most
// kMaxHandedPath characters.
using PathSink = void (*)(const char* path, void* context);

// Calls sink once per path found in text; returns the number of paths.
// A path is never cut to a shorter name: up to kMaxHandedPath characters it is
// handed on whole; a longer one is handed on as its first characters followed
// by kOverlongMark, kMaxHandedPath characters in all, so that opening it fails
// with the system's "file name too long" instead of opening some other file.
int ScanCommandLine(const char* text, PathSink sink, void* context);
