// The program folder a benchmark over the sample world reads: the one that
// TARVO_BENCH_HOME names (its data/ folder holding a registered store, the
// year to use in TARVO_BENCH_YEAR), or else the sample world of one year
// generated and registered by a setup run into a temporary folder, as
// tools/run.sh makes it, and removed when the benchmark ends.
#pragma once

#include <string>

namespace tarvo::bench {

class SampleHome {
public:
    // tempName names the temporary folder; year is the generated world's year.
    SampleHome(const std::string& tempName, int year);
    ~SampleHome();
    SampleHome(const SampleHome&) = delete;
    SampleHome& operator=(const SampleHome&) = delete;

    std::string home;  // with a trailing separator
    int year;

private:
    std::string temp_;
};

}  // namespace tarvo::bench
