// tarvo-worldgen: writes a sample world as a source folder of the data-service emulator.
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "fsys.h"
#include "wg_world.h"

int main(int argc, char** argv) {
    tarvo::worldgen::Options o;
    const std::string error = tarvo::worldgen::parseOptions(std::vector<std::string>(argv + 1, argv + argc), o);
    if (!error.empty()) {
        std::cerr << "tarvo-worldgen: " << error << "\n"
                  << "usage: tarvo-worldgen --out DIR --from YYYYMMDD --to YYYYMMDD [--seed N] [--today YYYYMMDD]\n"
                     "                      [--odds-all] [--old-format]\n";
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        for (const std::string& line : tarvo::worldgen::generateWorld(o)) std::cout << line << '\n';
    } catch (const tarvo::IoError& e) {
        std::cerr << "tarvo-worldgen: " << e.what() << '\n';
        return 1;
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "done\t" << secs << " s\n";
    return 0;
}
