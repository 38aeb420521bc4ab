// File system helpers shared by the core: whole-file reads and writes,
// folder creation, and the input/output error every layer raises.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// An input/output failure: ends the action in progress; what() is the text shown to the user.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system's error text for errno value err, as CP932.
std::string systemErrorText(int err);

// An IoError whose text names the operation, the path and the system's reason.
[[noreturn]] void throwIoError(std::string_view what, const std::string& path, int err);

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);

// Creates path and any missing parents; throws IoError on failure.
void makeDirs(const std::string& path);

// Reads a whole file; returns false when it does not exist, throws IoError on other failures.
// While a ReadCacheScope is alive the contents (or the absence) of each path
// are read from disk once and served from memory afterwards.
bool readFile(const std::string& path, std::string& out);

// readFile without the copy: view is the file's contents, held in buffer, or
// in the cache while a ReadCacheScope is alive (valid until the scope ends).
bool readFileView(const std::string& path, std::string& buffer, std::string_view& view);

// A read-only pass over the store (the evaluation of a race's runners) that
// reads the same files many times holds one of these around the pass. Scopes
// nest: the cache lives until the outermost scope ends. Writes made while a
// scope is alive are not seen by later reads of the same path in that scope.
class ReadCacheScope {
public:
    ReadCacheScope();
    ~ReadCacheScope();
    ReadCacheScope(const ReadCacheScope&) = delete;
    ReadCacheScope& operator=(const ReadCacheScope&) = delete;
};

// Replaces a file's contents (written to a temporary beside it, then renamed).
void writeFileAtomic(const std::string& path, std::string_view data);

// The folder part of a path, with its trailing separator ("" when there is none).
std::string dirName(const std::string& path);

// The folder of the running executable, with a trailing separator.
std::string executableDir();

}  // namespace tarvo
