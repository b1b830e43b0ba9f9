// How the INI file is named after the executable.
#pragma once

// Turns the executable's path in path (a buffer of capacity characters, at
// least 5) into the INI path: the path is cut to capacity - 5 characters, an
// extension of the file name is dropped (a dot in a folder name is not one)
// and ".ini" is appended.
void IniPathFromModulePath(char* path, int capacity);
