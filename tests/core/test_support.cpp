#include "test_support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "cli.h"

namespace tarvo::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path() /
                      ("tarvo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    path_ = base.string() + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void spit(const std::string& path, const std::string& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << data;
}

int runCli(std::initializer_list<std::string> args, std::string& out, std::string* err) {
    return runCli(std::vector<std::string>(args), out, err);
}

int runCli(const std::vector<std::string>& args, std::string& out, std::string* err) {
    std::vector<std::string> words{"tarvo-cli"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    std::ostringstream o, e;
    const int rc = cli::run(static_cast<int>(argv.size()), argv.data(), o, e);
    out = o.str();
    if (err) *err = e.str();
    return rc;
}

}  // namespace tarvo::test
