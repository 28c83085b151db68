#pragma once

// windows.h for the Windows branch of the platform layer. Its macros that pick a function by
// character set (DeleteFile becomes DeleteFileA) would also rename FileSystem::DeleteFile in
// the files that see them, so the one that clashes goes; this code calls the ...W functions
// by their own names anyway.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef DeleteFile
