// Shared helpers of the core tests: temporary folders and file access.
#pragma once

#include <string>
#include <vector>

#include "cp932.h"

namespace tarvo::test {

// A fresh empty folder below the system's temporary folder, removed at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with a trailing separator.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string slurp(const std::string& path);
void spit(const std::string& path, const std::string& data);

// Runs tarvo-cli's entry point in-process; returns the exit status and fills out/err.
int runCli(std::initializer_list<std::string> args, std::string& out, std::string* err = nullptr);
int runCli(const std::vector<std::string>& args, std::string& out, std::string* err = nullptr);

}  // namespace tarvo::test
