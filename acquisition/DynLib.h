#pragma once
// Dynamic loading as the card binding needs it, with a last-error value that behaves like the
// Windows one: reset it, look names up, and it is nonzero if any look-up failed.
#include <string>

namespace pendulab::dynlib {

using Handle = void*;

// A bare file name is looked for in `firstFolder` (ending with a separator) first.
Handle Load(const std::string& fileName, const std::string& firstFolder);
void* Symbol(Handle handle, const char* name);
void SetLastError(unsigned long code);
unsigned long GetLastError();

// Folder of the running executable, with its trailing separator.
std::string ProgramFolder();
bool FileExists(const std::string& path);

} // namespace pendulab::dynlib
