#include "acquisition/DynLib.h"

#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace pendulab::dynlib {

#if defined(_WIN32)

Handle Load(const std::string& fileName, const std::string& firstFolder)
{
    if (fileName.find_first_of("\\/") == std::string::npos && FileExists(firstFolder + fileName))
        return reinterpret_cast<Handle>(LoadLibraryA((firstFolder + fileName).c_str()));
    return reinterpret_cast<Handle>(LoadLibraryA(fileName.c_str()));
}
void* Symbol(Handle h, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(h), name));
}
void SetLastError(unsigned long code) { ::SetLastError(code); }
unsigned long GetLastError() { return ::GetLastError(); }
std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

#else

namespace {
thread_local unsigned long lastError = 0;
constexpr unsigned long kProcNotFound = 127; // the Windows code for a missing entry point
} // namespace

std::string ProgramFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

Handle Load(const std::string& fileName, const std::string& firstFolder)
{
    if (fileName.find('/') == std::string::npos) {
        const std::string local = firstFolder + fileName;
        if (FileExists(local)) return dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* Symbol(Handle h, const char* name)
{
    if (h == nullptr) {
        lastError = kProcNotFound;
        return nullptr;
    }
    void* p = dlsym(h, name);
    if (p == nullptr) lastError = kProcNotFound;
    return p;
}

void SetLastError(unsigned long code) { lastError = code; }
unsigned long GetLastError() { return lastError; }

#endif

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace pendulab::dynlib
