#pragma once

#include <string>
#include <vector>

namespace wendmoor {

// Names inside the program are UTF-8 on every system; these bring the command line, the
// environment and the console to that at the program's edge.

// The program's arguments after its own name. Elsewhere they are argv as given: bytes in the
// file system's encoding, passed through untouched. On Windows argv holds them in the ANSI
// code page, which cannot spell every name, so they come from the wide command line instead,
// converted to UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// An environment variable's value; empty when it is not set. On Windows from the wide
// environment, converted to UTF-8, as getenv gives it in the ANSI code page.
std::string EnvironmentVariable(const char* name);

// Makes UTF-8 text written to standard output and standard error show as such in a Windows
// console (its output code page becomes UTF-8 until the program ends); output that is
// redirected gets the bytes as they are. Elsewhere the terminal takes the bytes as they are.
void UseUtf8Console();

}  // namespace wendmoor
