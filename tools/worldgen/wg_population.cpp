// The world's population: people, the breeding stock in three generations,
// the racehorse crops, their careers before the first day, and the calendar
// events that change the population.
#include <algorithm>
#include <cmath>

#include "wg_world.h"
#include "wg_course.h"

namespace tarvo::worldgen {

void Tally::add(const RunFacts& f) {
    const int slot = f.place >= 1 && f.place <= 5 ? f.place - 1 : 5;
    for (int i = 0; i < f.ncats; ++i) ++c[static_cast<std::size_t>(f.cats[static_cast<std::size_t>(i)])][static_cast<std::size_t>(slot)];
    if (f.jump) honJump += f.prize;
    else honFlat += f.prize;
    if (f.style >= 1 && f.style <= 4) ++style[static_cast<std::size_t>(f.style - 1)];
    ++starts;
}

int Tally::total() const {
    int n = 0;
    for (const auto v : c[kAll]) n += v;
    return n;
}

void Periods::rollTo(int y) {
    if (y <= year) return;
    lastYear = y == year + 1 ? thisYear : Tally{};
    thisYear = Tally{};
    year = y;
}

void Periods::add(const RunFacts& f, int y) {
    rollTo(y);
    if (y == year) thisYear.add(f);
    else if (y == year - 1) lastYear.add(f);
    total.add(f);
}

namespace {

constexpr int kCentralCrop = 2200, kLocalCrop = 150;
constexpr int kCentralTrainersPerSide = 90, kLocalTrainers = 30;
constexpr int kCentralJockeysPerSide = 60, kLocalJockeys = 24;
constexpr int kOwners = 450, kBreeders = 220;

std::string pickKeiro(Rng& rng) {
    static constexpr struct {
        const char* code;
        int weight;
    } coats[] = {{"03", 40}, {"01", 20}, {"04", 18}, {"02", 4}, {"05", 7}, {"06", 2}, {"07", 8}, {"11", 1}};
    int r = rng.range(1, 100);
    for (const auto& c : coats) {
        if ((r -= c.weight) <= 0) return c.code;
    }
    return "03";
}

Day randomDayOfYear(Rng& rng, int y, int m0 = 1, int m1 = 12) {
    const int m = rng.range(m0, m1);
    return Day::of(y, m, rng.range(1, 28));
}

}  // namespace

World::World(std::uint64_t seed_, Day from_) : seed(seed_), from(from_) {
    Rng rng(mix(seed, 0x5eed, static_cast<std::uint64_t>(from.n)));
    createPeople(rng);
    createBreeding(rng);
    const int y = from.year();
    for (int birth = y - 8; birth <= y - 2; ++birth) createCrop(birth, Day::of(birth + 2, 1, 1), nullptr);
    for (std::size_t i = 0; i < horses.size(); ++i) preHistory(rng, horses[i], static_cast<int>(i));
    for (auto& p : trainers) p.t.rollTo(y);
    for (auto& p : jockeys) p.t.rollTo(y);
    for (auto& o : owners) o.t.rollTo(y);
    for (auto& b : breeders) b.t.rollTo(y);
}

void World::createPeople(Rng& rng) {
    const int y = from.year();
    const auto person = [&](Person& p, const std::string& code, char tozai, bool local, int minAge, int maxAge) {
        p.code = code;
        p.name = personName(rng);
        p.tozai = tozai;
        p.local = local;
        p.sex = rng.chance(0.05) ? '2' : '1';
        p.birth = randomDayOfYear(rng, y - rng.range(minAge, maxAge));
        p.issue = randomDayOfYear(rng, std::min(y - 1, p.birth.year() + rng.range(18, 30)), 3, 3);
        p.skill = rng.normal();
        p.t.year = y;
    };
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i < kCentralTrainersPerSide; ++i) {
            Person p;
            person(p, "0" + zpad(1000 + side * 100 + i, 4), side == 0 ? '1' : '2', false, 32, 70);
            trainers.push_back(std::move(p));
        }
    for (int i = 0; i < kLocalTrainers; ++i) {
        Person p;
        person(p, "0" + zpad(5000 + i, 4), '3', true, 32, 70);
        trainers.push_back(std::move(p));
    }
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i < kCentralJockeysPerSide; ++i) {
            Jockey j;
            person(j, "0" + zpad(1000 + side * 100 + i, 4), side == 0 ? '1' : '2', false, 18, 52);
            j.minarai = rng.chance(0.12) ? static_cast<char>('1' + rng.range(0, 2)) : '0';
            j.jumps = rng.chance(0.2);
            do {
                j.trainer = rng.range(0, 2 * kCentralTrainersPerSide - 1);
            } while (trainers[static_cast<std::size_t>(j.trainer)].tozai != j.tozai);
            jockeys.push_back(std::move(j));
        }
    for (int i = 0; i < kLocalJockeys; ++i) {
        Jockey j;
        person(j, "0" + zpad(5000 + i, 4), '3', true, 18, 52);
        j.trainer = 2 * kCentralTrainersPerSide + rng.range(0, kLocalTrainers - 1);
        jockeys.push_back(std::move(j));
    }
    // First rides and wins, before the world begins.
    for (Jockey& j : jockeys) {
        for (int k = 0; k < (j.jumps ? 2 : 1); ++k) {
            FirstRun& r = j.firstRide[k];
            const Day d = j.issue + rng.range(0, 30) + k * 400;
            r.day = d.yyyymmdd();
            r.jyo = j.local ? "44" : zpad(rng.range(1, 10), 2);
            r.kai = rng.range(1, 4);
            r.nichi = rng.range(1, 8);
            r.num = rng.range(1, 12);
            r.starters = rng.range(8, 16);
            r.place = rng.range(1, r.starters);
            r.ketto = zpad(d.year() - 3, 4) + "10" + zpad(rng.range(1, 9999), 4);
            r.bamei = horseName(rng).name;
            FirstRun& w = j.firstWin[k];
            w = r;
            const Day wd = d + rng.range(10, 200);
            w.day = wd.yyyymmdd();
            w.place = 1;
            w.bamei = horseName(rng).name;
        }
    }
    for (int i = 0; i < kOwners; ++i) {
        Owner o;
        o.code = zpad(i + 1, 6);
        o.name = ownerName(rng);
        o.silks = silksDescription(rng);
        o.t.year = y;
        owners.push_back(std::move(o));
    }
    for (int i = 0; i < kBreeders; ++i) {
        Breeder b;
        b.code = zpad(10001 + i, 6);
        b.name = breederName(rng);
        b.address = breedingPlace(rng);
        b.t.year = y;
        breeders.push_back(std::move(b));
    }
}

void World::createBreeding(Rng& rng) {
    const int y = from.year();
    struct Generation {
        int stallions, mares, oldest, youngest;
    };
    const Generation gens[3] = {{30, 200, 30, 22}, {50, 500, 24, 14}, {90, 1500, 18, 6}};
    std::vector<int> prevSires, prevMares;
    for (int g = 0; g < 3; ++g) {
        std::vector<int> sires, mares;
        for (int k = 0; k < gens[g].stallions + gens[g].mares; ++k) {
            BreedingHorse b;
            b.number = 11000000 + static_cast<int>(breeding.size()) + 1;
            b.sex = k < gens[g].stallions ? '1' : '2';
            b.birthYear = y - rng.range(gens[g].youngest, gens[g].oldest);
            do {
                b.name = horseName(rng);
            } while (!names_.insert(b.name.name).second);
            b.keiro = pickKeiro(rng);
            b.quality = rng.normal();
            b.turf = std::clamp(rng.normal(0.1, 0.6), -1.0, 1.0);
            b.distance = std::clamp(static_cast<int>(std::lround(rng.normal(1900, 350) / 100.0)) * 100, 1000, 3200);
            if (g == 0) {
                b.imported = rng.chance(b.sex == '1' ? 0.9 : 0.5);
            } else {
                b.sire = rng.pick(prevSires);
                b.dam = rng.pick(prevMares);
                const BreedingHorse& s = breeding[static_cast<std::size_t>(b.sire)];
                b.quality = 0.5 * s.quality + 0.5 * rng.normal();
                b.turf = std::clamp(0.6 * s.turf + rng.normal(0, 0.4), -1.0, 1.0);
                b.distance = std::clamp((s.distance + b.distance) / 200 * 100, 1000, 3200);
                b.imported = rng.chance(0.1);
            }
            if (b.imported) {
                b.importYear = b.birthYear + rng.range(2, 6);
                b.birthplace = foreignCountry(rng);
                b.ketto = "0000000000";
            } else {
                b.birthplace = breedingPlace(rng);
                b.ketto = zpad(b.birthYear, 4) + "10" + zpad(5000 + static_cast<int>(breeding.size()) % 5000, 4);
            }
            (b.sex == '1' ? sires : mares).push_back(static_cast<int>(breeding.size()));
            breeding.push_back(std::move(b));
        }
        prevSires = std::move(sires);
        prevMares = std::move(mares);
    }
    youngSires_ = prevSires;
    youngMares_ = prevMares;
    int acc = 0;
    for (const int s : youngSires_) {
        acc += 1 + static_cast<int>(std::lround(12.0 * std::exp(breeding[static_cast<std::size_t>(s)].quality)));
        sireWeights_.push_back(acc);
    }
}

int World::createHorse(Rng& rng, int birthYear, bool local, int serial) {
    Horse h;
    h.ketto = zpad(birthYear, 4) + (local ? "30" : "10") + zpad(serial, 4);
    do {
        h.name = horseName(rng);
    } while (!names_.insert(h.name.name).second);
    h.birth = Day::of(birthYear, rng.range(2, 5), rng.range(1, 28));
    const double r = rng.uniform();
    h.sex = r < 0.48 ? '1' : r < 0.93 ? '2' : '3';
    h.keiro = pickKeiro(rng);
    const int w = rng.range(1, sireWeights_.back());
    h.sire = youngSires_[static_cast<std::size_t>(std::lower_bound(sireWeights_.begin(), sireWeights_.end(), w) -
                                                  sireWeights_.begin())];
    h.dam = rng.pick(youngMares_);
    const BreedingHorse& s = breeding[static_cast<std::size_t>(h.sire)];
    const BreedingHorse& m = breeding[static_cast<std::size_t>(h.dam)];
    h.ability = 0.35 * s.quality + 0.25 * m.quality + rng.normal(0, 0.85);
    h.turf = std::clamp(0.6 * s.turf + rng.normal(0, 0.5), -1.0, 1.0);
    h.distance = std::clamp(static_cast<int>(std::lround(((s.distance + m.distance) / 2 + rng.normal(0, 250)) / 100.0)) * 100,
                            1000, 3200);
    const double st = rng.uniform() + (1800 - h.distance) / 3000.0;
    h.style = st > 0.9 ? 1 : st > 0.55 ? 2 : st > 0.2 ? 3 : 4;
    h.local = local;
    h.jumper = !local && rng.chance(0.05);
    h.jumpAbility = rng.normal();
    h.breeder = rng.range(0, static_cast<int>(breeders.size()) - 1);
    h.owner = rng.range(0, static_cast<int>(owners.size()) - 1);
    if (local) {
        h.trainer = 2 * kCentralTrainersPerSide + rng.range(0, kLocalTrainers - 1);
    } else {
        h.trainer = rng.range(0, 2 * kCentralTrainersPerSide - 1);
    }
    h.bodyWeight = static_cast<int>(std::lround((h.sex == '2' ? 455 : 482) + rng.normal(0, 22)));
    horses.push_back(std::move(h));
    return static_cast<int>(horses.size()) - 1;
}

void World::createCrop(int birthYear, Day registered, std::vector<int>* added) {
    Rng rng(mix(seed, 0xc20b, static_cast<std::uint64_t>(birthYear)));
    for (int i = 0; i < kCentralCrop + kLocalCrop; ++i) {
        const bool local = i >= kCentralCrop;
        const int idx = createHorse(rng, birthYear, local, local ? i - kCentralCrop + 1 : i + 1);
        horses[static_cast<std::size_t>(idx)].registered = registered;
        if (added) added->push_back(idx);
    }
}

void World::preHistory(Rng& rng, Horse& h, int) {
    // Stronger horses tend to start sooner; some wait until their third year.
    const Day debut = Day::of(h.birth.year() + 2, 6, 1) + static_cast<int>(rng.uniform() * (h.ability > 0 ? 200 : 320));
    const int months = (from - debut) / 30;
    if (months <= 0) return;
    const int age = h.age(from);
    if (h.local) {
        h.starts = std::max(1, static_cast<int>(months / 1.3 * (0.6 + 0.5 * rng.uniform())));
        h.wins = std::min(h.starts, std::max(0, static_cast<int>((h.ability + 1.5) * h.starts / 8 + rng.normal(0, 0.5))));
    } else {
        const double expect = (h.ability + 1.2) * 0.9 * std::sqrt(months / 6.0) + rng.normal(0, 0.5);
        h.wins = std::max(0, static_cast<int>(expect));
        h.starts = std::max(h.wins, static_cast<int>(std::lround(months / 1.6 * (0.5 + 0.6 * rng.uniform()))));
        const bool lateMaiden = age == 3 && from.month() * 100 + from.dayOfMonth() >= 910;
        if (h.wins == 0 && (age >= 4 || lateMaiden)) {
            h.retired = true;
            return;
        }
        if (age >= 9) h.retired = true;
    }
    if (h.jumper && age >= 4) h.jumpWins = rng.chance(0.5) ? 1 : 0;
    // The runs behind these figures, spread over the career, each counted for
    // the horse and for its trainer, owner, breeder and a jockey.
    int winsLeft = h.wins;
    for (int k = 0; k < h.starts; ++k) {
        const Day d = debut + rng.range(0, std::max(0, from - debut - 1));
        const bool turf = !h.local && h.turf > rng.normal(0, 0.5);
        const std::string jyo = h.local ? "44" : zpad(rng.range(1, 10), 2);
        const int kyori = std::clamp(static_cast<int>(std::lround((h.distance + rng.normal(0, 250)) / 200.0)) * 200, 1000, 3000);
        int place;
        if (winsLeft > 0 && rng.chance(static_cast<double>(winsLeft) / (h.starts - k))) {
            place = 1;
            --winsLeft;
        } else {
            const double u = std::pow(rng.uniform(), std::max(0.3, 1.0 + 0.5 * h.ability));
            place = 2 + static_cast<int>((1.0 - u) * 13);
        }
        const long long prize = place == 1 ? 75000 : place <= 5 ? 75000 / (place + 1) : 0;
        const RunFacts f = runFacts(jyo, turf ? 17 : 24, kyori, '1', place, prize, h.style);
        h.tally.add(f);
        const int y = d.year();
        trainers[static_cast<std::size_t>(h.trainer)].t.add(f, y);
        owners[static_cast<std::size_t>(h.owner)].t.add(f, y);
        breeders[static_cast<std::size_t>(h.breeder)].t.add(f, y);
        const int nj = h.local ? kLocalJockeys : 2 * kCentralJockeysPerSide;
        const int j = (h.local ? 2 * kCentralJockeysPerSide : 0) + rng.range(0, nj - 1);
        jockeys[static_cast<std::size_t>(j)].t.add(f, y);
    }
    h.lastRun = from - rng.range(7, 70);
    h.lastWeight = h.bodyWeight;
}

void World::rollYear(int y) {
    for (auto& p : trainers) p.t.rollTo(y);
    for (auto& p : jockeys) p.t.rollTo(y);
    for (auto& o : owners) o.t.rollTo(y);
    for (auto& b : breeders) b.t.rollTo(y);
}

std::vector<int> World::beginDay(Day d) {
    std::vector<int> added;
    const int y = d.year();
    if (d.month() == 1 && d.dayOfMonth() == 1 && y > from.year()) {
        rollYear(y);
        for (Horse& h : horses) {
            const int age = h.age(d);
            if (age >= 9 || (!h.local && age >= 4 && h.wins == 0)) h.retired = true;
        }
        createCrop(y - 2, d, &added);
    }
    if (d.month() == 9 && d.dayOfMonth() == 10)
        for (Horse& h : horses)
            if (!h.local && h.age(d) == 3 && h.wins == 0) h.retired = true;
    return added;
}

}  // namespace tarvo::worldgen
