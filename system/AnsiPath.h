// Paths that arrive in Unicode (command line, drop, Open dialog) turned into
// the ANSI text the program works with, exactly or not at all.
#pragma once

#include <string>

// Stands for each character the ANSI code page cannot hold. No file name
// holds it, so such a path fails to open and is reported by name, where the
// system's best-fit mapping would have named a look-alike file.
constexpr char kUnmappedMark[] = "?";

// wide in the ANSI code page without best-fit mapping: each character the
// code page cannot hold becomes kUnmappedMark.
std::string AnsiFromWide(const wchar_t* wide);

// The program's own command line after its name and the blanks that follow
// (the text the entry point receives), taken from the Unicode form.
std::string OwnCommandLine();

// The command-line text with every path that is not full made full against
// this process's current folder, in the same format (blank-separated, quotes
// around a path holding a blank), so that another process reads the same files.
std::string FullPathsCommandLine(const char* text);
