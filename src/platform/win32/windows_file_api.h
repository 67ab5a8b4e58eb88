#pragma once
// <windows.h> for code that calls the file system port: the port's method names
// are the plain words, which the A/W macros of these functions would rename.
#include <windows.h>

#undef CreateDirectory
#undef DeleteFile
#undef CopyFile
#undef MoveFile
