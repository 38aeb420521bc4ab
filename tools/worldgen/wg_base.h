// Small building blocks of the sample world generator: a seeded random number
// generator, calendar days, and text helpers.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo::worldgen {

// A 64-bit mix of several values, for seeding independent random streams
// ("the races of this day", "the crop of that year") from the world's seed.
inline std::uint64_t mix(std::uint64_t a, std::uint64_t b = 0, std::uint64_t c = 0) {
    auto step = [](std::uint64_t x) {
        x += 0x9E3779B97F4A7C15ULL;
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        return x ^ (x >> 31);
    };
    return step(step(step(a) ^ b) ^ c);
}

// xoshiro256** seeded by splitmix64.
class Rng {
public:
    explicit Rng(std::uint64_t seed) {
        for (auto& s : s_) s = seed = mix(seed);
    }
    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9, t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }
    // [0, 1)
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // [lo, hi]
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool chance(double p) { return uniform() < p; }
    double normal(double mean = 0.0, double sd = 1.0) {
        const double u1 = 1.0 - uniform(), u2 = uniform();
        return mean + sd * std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }
    template <class T>
    const T& pick(const std::vector<T>& v) {
        return v[static_cast<std::size_t>(next() % v.size())];
    }
    template <class T, std::size_t N>
    const T& pick(const T (&a)[N]) {
        return a[next() % N];
    }
    template <class T>
    void shuffle(std::vector<T>& v) {
        for (std::size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[next() % i]);
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

// A calendar day as a count of days since 1970-01-01.
struct Day {
    int n = 0;

    static Day of(int y, int m, int d);
    // From eight digits YYYYMMDD; false when the text is not a valid date.
    static bool parse(std::string_view digits, Day& out);
    int year() const;
    int month() const;
    int dayOfMonth() const;
    // 0 = Monday ... 6 = Sunday.
    int weekday() const { return ((n % 7) + 7 + 3) % 7; }
    int yyyymmdd() const { return year() * 10000 + month() * 100 + dayOfMonth(); }
    std::string text() const { return std::to_string(yyyymmdd()); }
    std::string mmdd() const;  // four digits
    Day operator+(int k) const { return Day{n + k}; }
    Day operator-(int k) const { return Day{n - k}; }
    int operator-(Day o) const { return n - o.n; }
    bool operator<(Day o) const { return n < o.n; }
    bool operator<=(Day o) const { return n <= o.n; }
    bool operator==(Day o) const { return n == o.n; }
    bool operator!=(Day o) const { return n != o.n; }
};

// Zero-padded decimal of width w.
std::string zpad(long long v, int w);

}  // namespace tarvo::worldgen
