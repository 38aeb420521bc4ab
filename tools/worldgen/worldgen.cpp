// Writes the sample world as a source folder of the data-service emulator
// (docs/jvlink-source.md): the accumulated data specs day by day, the
// real-time data of the --today day, and the video list.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "cp932.h"
#include "fsys.h"
#include "wg_course.h"
#include "wg_market.h"
#include "wg_records.h"
#include "wg_world.h"

namespace tarvo::worldgen {
namespace {

namespace fs = std::filesystem;

class Output {
public:
    explicit Output(std::string root) : root_(std::move(root)) {
        if (!root_.empty() && root_.back() != '/') root_ += '/';
    }

    // The data files of one timestamp: the records back to back, one file per
    // record kind (as the service delivers them), named by timestamp, spec and
    // kind; the kinds keep the order of their first records.
    void add(const std::string& spec, const std::string& ts, const std::vector<std::string>& records) {
        struct File {
            std::string kind, data;
            std::size_t records = 0;
        };
        std::vector<File> files;
        for (const auto& r : records) {
            const std::string kind = r.substr(0, 2);
            auto it = std::find_if(files.begin(), files.end(), [&](const File& f) { return f.kind == kind; });
            if (it == files.end()) it = files.insert(files.end(), File{kind, {}, 0});
            it->data += r;
            ++it->records;
        }
        for (const File& f : files) {
            write(spec + "/" + ts + "-" + spec + "-" + f.kind + ".jvd", f.data);
            count(spec, f.data, f.records);
        }
    }

    // A real-time file: spec/key.jvd, every record of the key (of any kind).
    void addRealTime(const std::string& spec, const std::string& key, const std::vector<std::string>& records) {
        if (records.empty()) return;
        std::string data;
        for (const auto& r : records) data += r;
        write(spec + "/" + key + ".jvd", data);
        count(spec, data, records.size());
    }
    void addText(const std::string& rel, const std::string& text) { write(rel, text); }

    // Removes data files of an earlier run that this world does not have.
    void removeStale() {
        std::error_code ec;
        for (fs::directory_iterator dir(root_, ec), end; !ec && dir != end; dir.increment(ec)) {
            if (!dir->is_directory(ec)) continue;
            for (fs::directory_iterator f(dir->path(), ec), e2; !ec && f != e2; f.increment(ec)) {
                const std::string rel = dir->path().filename().string() + "/" + f->path().filename().string();
                if (f->path().extension() == ".jvd" && !written_.count(rel)) fs::remove(f->path(), ec);
            }
        }
    }

    std::vector<std::string> report() const {
        std::vector<std::string> out;
        for (const auto& [spec, c] : counts_)
            out.push_back(spec + "\t" + std::to_string(c.files) + " files\t" + std::to_string(c.records) + " records\t" +
                          std::to_string(c.bytes) + " bytes");
        return out;
    }

private:
    struct Count {
        std::size_t files = 0, records = 0, bytes = 0;
    };
    void count(const std::string& spec, const std::string& data, std::size_t records) {
        Count& c = counts_[spec];
        ++c.files;
        c.records += records;
        c.bytes += data.size();
    }
    // Leaves a file that already has these contents untouched, so that a
    // longer world written over a shorter one keeps the common files as they were.
    void write(const std::string& rel, const std::string& data) {
        written_.insert(rel);
        const std::string path = root_ + rel;
        std::error_code ec;
        if (fs::file_size(path, ec) == data.size() && !ec) {
            std::string old;
            if (readFile(path, old) && old == data) return;
        }
        makeDirs(dirName(path));
        writeFileAtomic(path, data);
    }

    std::string root_;
    std::set<std::string> written_;
    std::map<std::string, Count> counts_;
};

struct Specs {
    const char* masters;  // DIFN or DIFF
    const char* breeding; // BLDN or BLOD
    const char* counts;   // SNPN or SNAP
    RawVersion version;
};
constexpr Specs kNew{"DIFN", "BLDN", "SNPN", RawVersion::Current};
constexpr Specs kOld{"DIFF", "BLOD", "SNAP", RawVersion::Old};

char resultKubun(const Race& r) { return r.cancelled ? '9' : r.local ? 'A' : '7'; }

class Generator {
public:
    explicit Generator(const Options& o) : opt_(o), w_(o.seed, o.from), out_(o.out) {
        specs_.push_back(kNew);
        if (o.oldFormat) specs_.push_back(kOld);
    }

    std::vector<std::string> run() {
        initialMasters();
        const Day last = opt_.today ? *opt_.today : opt_.to;
        for (Day d = opt_.from; d <= opt_.to; d = d + 1) {
            registrations(d, w_.beginDay(d));
            std::vector<Race> races = w_.programDay(d);
            if (!races.empty()) {
                w_.simulate(races);
                resultsDay(d, races, last - d < 7);
                w_.apply(races);
                mastersAfter(d, races);
            }
            if (d.weekday() == 6) peopleOfTheWeek(d);
        }
        if (opt_.today) todayDay(*opt_.today);
        videos();
        out_.removeStale();
        return out_.report();
    }

private:
    static std::string ts(Day d, const char* hhmmss) { return d.text() + hhmmss; }

    void initialMasters() {
        const Day d = opt_.from;
        for (const Specs& s : specs_) {
            std::vector<std::string> um, ks, ch, bn, br, hn, sk;
            for (std::size_t i = 0; i < w_.horses.size(); ++i) {
                if (w_.horses[i].retired) continue;
                um.push_back(umRecord(w_, static_cast<int>(i), '1', d, s.version));
                sk.push_back(skRecord(w_, static_cast<int>(i), '1', d, s.version));
            }
            for (std::size_t i = 0; i < w_.jockeys.size(); ++i) ks.push_back(ksRecord(w_, static_cast<int>(i), '1', d));
            for (std::size_t i = 0; i < w_.trainers.size(); ++i) ch.push_back(chRecord(w_, static_cast<int>(i), '1', d));
            for (std::size_t i = 0; i < w_.owners.size(); ++i) bn.push_back(bnRecord(w_, static_cast<int>(i), '1', d));
            for (std::size_t i = 0; i < w_.breeders.size(); ++i) br.push_back(brRecord(w_, static_cast<int>(i), '1', d, s.version));
            for (std::size_t i = 0; i < w_.breeding.size(); ++i) hn.push_back(hnRecord(w_, static_cast<int>(i), '1', d, s.version));
            const std::string t = ts(d, "000000");
            out_.add(s.masters, t, um);
            out_.add(s.masters, t, ks);
            out_.add(s.masters, t, ch);
            out_.add(s.masters, t, bn);
            out_.add(s.masters, t, br);
            out_.add(s.breeding, t, hn);
            out_.add(s.breeding, t, sk);
        }
    }

    void registrations(Day d, const std::vector<int>& added) {
        if (added.empty()) return;
        for (const Specs& s : specs_) {
            std::vector<std::string> um, sk;
            for (const int h : added) {
                um.push_back(umRecord(w_, h, '1', d, s.version));
                sk.push_back(skRecord(w_, h, '1', d, s.version));
            }
            out_.add(s.masters, ts(d, "000000"), um);
            out_.add(s.breeding, ts(d, "000000"), sk);
        }
    }

    void countsOfTheDay(Day d, const std::vector<Race>& races) {
        for (const Specs& s : specs_) {
            std::vector<std::string> ck;
            for (const Race& r : races)
                for (const Runner& ru : r.runners) ck.push_back(ckRecord(w_, r, ru, d, s.version));
            out_.add(s.counts, ts(d, "080000"), ck);
        }
    }

    void resultsDay(Day d, const std::vector<Race>& races, bool lastWeek) {
        countsOfTheDay(d, races);
        std::vector<std::string> results, odds, big;
        for (const Race& r : races) {
            const char dk = resultKubun(r);
            results.push_back(raRecord(r, dk, d, !r.cancelled));
            for (const Runner& ru : r.runners) results.push_back(seRecord(w_, r, ru, dk, d, !r.cancelled));
            if (!r.cancelled) results.push_back(hrRecord(r, '2', d));
            if (r.local) continue;
            const Market m = buildMarket(r);
            const char odk = r.cancelled ? '9' : '4';
            for (const char* id : {"O1", "O2", "O3", "O4"}) odds.push_back(oddsRecord(r, m, id, odk, d, r.hasso));
            if (opt_.oddsAll || lastWeek)
                for (const char* id : {"O5", "O6"}) big.push_back(oddsRecord(r, m, id, odk, d, r.hasso));
            if (!r.cancelled) raceVideos_.push_back(r.key());
        }
        out_.add("RACE", ts(d, "180000"), results);
        out_.add("RACE", ts(d, "180100"), odds);
        out_.add("RACE", ts(d, "180200"), big);
        noteTraining(d, races);
    }

    void mastersAfter(Day d, const std::vector<Race>& races) {
        std::set<int> horses;
        for (const Race& r : races)
            for (const Runner& ru : r.runners) {
                horses.insert(ru.horse);
                changedJockeys_.insert(ru.jockey);
                const Horse& h = w_.horses[static_cast<std::size_t>(ru.horse)];
                changedTrainers_.insert(h.trainer);
                changedOwners_.insert(h.owner);
                changedBreeders_.insert(h.breeder);
            }
        for (const Specs& s : specs_) {
            std::vector<std::string> um;
            for (const int h : horses) um.push_back(umRecord(w_, h, '2', d, s.version));
            out_.add(s.masters, ts(d, "210000"), um);
        }
    }

    // Jockeys, trainers, owners and breeders whose figures changed in the week, on its Sunday.
    void peopleOfTheWeek(Day d) {
        for (const Specs& s : specs_) {
            std::vector<std::string> ks, ch, bn, br;
            for (const int i : changedJockeys_) ks.push_back(ksRecord(w_, i, '2', d));
            for (const int i : changedTrainers_) ch.push_back(chRecord(w_, i, '2', d));
            for (const int i : changedOwners_) bn.push_back(bnRecord(w_, i, '2', d));
            for (const int i : changedBreeders_) br.push_back(brRecord(w_, i, '2', d, s.version));
            out_.add(s.masters, ts(d, "220000"), ks);
            out_.add(s.masters, ts(d, "220000"), ch);
            out_.add(s.masters, ts(d, "220000"), bn);
            out_.add(s.masters, ts(d, "220000"), br);
        }
        changedJockeys_.clear();
        changedTrainers_.clear();
        changedOwners_.clear();
        changedBreeders_.clear();
    }

    // Training videos: for each race weekend, some of its runners, listed under
    // the weekend's first race day: its Saturday, or its Sunday when the Saturday has no races.
    void noteTraining(Day d, const std::vector<Race>& races) {
        if (d.weekday() != 5 && d.weekday() != 6) return;
        const Day sat = d - (d.weekday() - 5);
        const int listDay = training_.count(sat.yyyymmdd()) ? sat.yyyymmdd() : d.yyyymmdd();
        std::vector<std::string>& list = training_[listDay];
        for (const Race& r : races) {
            if (r.local) continue;
            for (const Runner& ru : r.runners) {
                if (list.size() >= 40) return;
                if ((ru.horse + r.num) % 7 != 0) continue;
                const Day trained = sat - 3 - (ru.horse % 2);
                list.push_back(trained.text() + w_.horses[static_cast<std::size_t>(ru.horse)].ketto);
            }
        }
    }

    void todayDay(Day d) {
        registrations(d, w_.beginDay(d));
        std::vector<Race> races = w_.programDay(d, true);
        if (races.empty()) return;
        w_.simulate(races);
        std::vector<std::string> first, second;
        for (const Race& r : races) {
            first.push_back(raRecord(r, '1', d - 2, false));
            second.push_back(raRecord(r, '2', d - 1, false));
            for (const Runner& ru : r.runners) {
                first.push_back(seRecord(w_, r, ru, '1', d - 2, false));
                second.push_back(seRecord(w_, r, ru, '2', d - 1, false));
            }
        }
        out_.add("RACE", ts(d, "060000"), first);
        out_.add("RACE", ts(d, "070000"), second);
        countsOfTheDay(d, races);
        noteTraining(d, races);
        realTime(d, races);
    }

    // The day's real-time data, as it stands at one o'clock: body weights (the
    // last race of each track announced before its draw, its runners by name),
    // the morning's changes, odds of every race, provisional results of the races run.
    void realTime(Day d, std::vector<Race>& races) {
        std::vector<Race*> later;
        for (Race& r : races)
            if (!r.local && r.hasso > kNow) later.push_back(&r);
        std::vector<std::string> changes = weatherChanges(d, races);
        // The runners the simulation scratched or excluded are announced in the morning.
        for (const Race& r : races)
            for (const Runner& ru : r.runners)
                if (!r.local && (ru.ijyo == '1' || ru.ijyo == '2')) changes.push_back(avRecord(w_, r, ru, ru.ijyo, d, 900));
        if (later.size() >= 4) {
            Rng rng(mix(opt_.seed, 0x0b14, static_cast<std::uint64_t>(d.n)));
            rng.shuffle(later);
            morningChanges(d, races, later, changes);
        }
        std::vector<std::string> weights;
        for (std::size_t i = 0; i < races.size(); ++i) {
            const Race& r = races[i];
            if (r.local) continue;
            const bool lastOfTrack = i + 1 == races.size() || races[i + 1].jyo != r.jyo;
            weights.push_back(whRecord(r, w_, d, addMinutes(r.hasso, -60), lastOfTrack));
        }
        std::vector<std::string> results;
        for (Race& r : races)
            if (!r.local) raceAtOne(d, r, results);
        out_.addRealTime("0B11", d.text(), weights);
        out_.addRealTime("0B14", d.text(), changes);
        out_.addRealTime("0B12", d.text(), results);
    }

    static constexpr int kNow = 1300;

    // Weather and going: the morning announcement at each central track; then,
    // in the day, a turf-only going change at the first track, a dirt-only one
    // at the second (the first again when there is one track), and a change of
    // weather and both goings at noon.
    static std::vector<std::string> weatherChanges(Day d, const std::vector<Race>& races) {
        std::map<std::string, const Race*> firstOfTrack;
        for (const Race& r : races)
            if (!r.local && !firstOfTrack.count(r.jyo)) firstOfTrack[r.jyo] = &r;
        std::vector<std::string> changes;
        std::vector<const Race*> tracks;
        for (const auto& [jyo, r] : firstOfTrack) {
            changes.push_back(weRecord(*r, d, 830, r->tenko, r->siba, r->dirt, '0', '0', '0'));
            tracks.push_back(r);
        }
        if (tracks.empty()) return changes;
        const auto worse = [](char going) { return going < '4' ? static_cast<char>(going + 1) : going; };
        const Race& turf = *tracks.front();
        const Race& dirt = *tracks[tracks.size() > 1 ? 1 : 0];
        changes.push_back(weRecord(turf, d, 1030, '0', worse(turf.siba), '0', turf.tenko, turf.siba, turf.dirt));
        changes.push_back(weRecord(dirt, d, 1100, '0', '0', worse(dirt.dirt), dirt.tenko, dirt.siba, dirt.dirt));
        const char tenko = turf.tenko == '1' ? '2' : turf.tenko;
        changes.push_back(weRecord(turf, d, 1230, tenko, worse(worse(turf.siba)), worse(turf.dirt), turf.tenko,
                                   worse(turf.siba), turf.dirt));
        return changes;
    }

    // A scratching and an exclusion (the runners then have no body weight and
    // no odds), a jockey change, a post time change and a course change in the
    // races still to run (at least four, in a shuffled order).
    void morningChanges(Day d, const std::vector<Race>& races, const std::vector<Race*>& later, std::vector<std::string>& changes) const {
        Race& a = *later[0];
        char kind = '1';
        for (Runner& ru : a.runners)
            if (ru.ijyo == '0' && kind <= '2') {
                ru.ijyo = kind;
                changes.push_back(avRecord(w_, a, ru, kind, d, kind == '1' ? 1005 : 1040));
                ++kind;
            }
        if (const std::string jc = jockeyChange(d, races, *later[1]); !jc.empty()) changes.push_back(jc);
        changes.push_back(tcRecord(*later[2], addMinutes(later[2]->hasso, 10), d, 1150));
        // A turf race moved to the dirt.
        for (std::size_t k = 3; k < later.size(); ++k) {
            const Race& c = *later[k];
            const auto& dirt = courseDistances(c.jyo, false);
            if (!c.turf() || dirt.empty()) continue;
            int best = dirt.front();
            for (const int x : dirt)
                if (std::abs(x - c.kyori) < std::abs(best - c.kyori)) best = x;
            changes.push_back(ccRecord(c, best, trackCodeFor(c.jyo, 'D', best), d, 1200));
            break;
        }
    }

    // The last runner of the race gets a jockey of the track who does not ride
    // in it; empty when there is none.
    std::string jockeyChange(Day d, const std::vector<Race>& races, const Race& b) const {
        std::set<int> riding;
        for (const Runner& ru : b.runners) riding.insert(ru.jockey);
        int cand = -1;
        for (const Race& o : races)
            for (const Runner& ru : o.runners)
                if (cand < 0 && o.jyo == b.jyo && !riding.count(ru.jockey)) cand = ru.jockey;
        if (cand < 0) return {};
        const Runner& ru = b.runners.back();
        const Jockey& after = w_.jockeys[static_cast<std::size_t>(cand)];
        const Jockey& before = w_.jockeys[static_cast<std::size_t>(ru.jockey)];
        int futan = ru.futan + 10 * ((before.minarai - '0') - (after.minarai - '0'));
        if (futan == ru.futan) futan -= 10;  // the new rider claims an allowance: the weight changes too
        return jcRecord(w_, b, ru, cand, futan, d, 1110);
    }

    // A central race at one o'clock: its provisional result when it has been
    // run (into results), and its odds files.
    void raceAtOne(Day d, const Race& r, std::vector<std::string>& results) {
        const bool run = r.hasso <= 1245;
        const Market m = buildMarket(r);
        const char odk = run ? '3' : '1';
        if (run) {
            const char dk = r.cancelled ? '9' : r.hasso <= 1215 ? '6' : '5';
            results.push_back(raRecord(r, dk, d, !r.cancelled));
            for (const Runner& ru : r.runners) results.push_back(seRecord(w_, r, ru, dk, d, !r.cancelled));
            if (!r.cancelled) results.push_back(hrRecord(r, '1', d));
        }
        const int at = run ? r.hasso : std::min(kNow, addMinutes(r.hasso, -5));
        std::vector<std::string> all;
        for (const char* id : {"O1", "O2", "O3", "O4", "O5", "O6"}) all.push_back(oddsRecord(r, m, id, odk, d, at));
        out_.addRealTime("0B30", r.key(), all);
        out_.addRealTime("0B34", r.key(), {all[3]});
        out_.addRealTime("0B35", r.key(), {all[4]});
        out_.addRealTime("0B36", r.key(), {all[5]});
    }

    void videos() {
        std::string list = "# type\tkey\tfile\tlist\r\n";
        for (const std::string& k : raceVideos_) list += "00\t" + k + "\trace.html\r\n";
        for (const auto& [sat, entries] : training_)
            for (const std::string& e : entries) list += "11\t" + e + "\ttraining.html\t" + std::to_string(sat) + "\r\n";
        out_.addText("MOVIE/movies.tsv", list);
        const auto page = [](const char* title) {
            return sj(std::string("<!DOCTYPE html>\r\n<html><head><meta charset=\"Shift_JIS\"><title>") + title +
                      "</title></head><body><h1>" + title + "</h1><p>サンプルの映像です。</p></body></html>\r\n");
        };
        out_.addText("MOVIE/race.html", page("レース映像"));
        out_.addText("MOVIE/training.html", page("調教映像"));
    }

    const Options& opt_;
    World w_;
    Output out_;
    std::vector<Specs> specs_;
    std::set<int> changedJockeys_, changedTrainers_, changedOwners_, changedBreeders_;
    std::vector<std::string> raceVideos_;
    std::map<int, std::vector<std::string>> training_;
};

}  // namespace

std::vector<std::string> generateWorld(const Options& options) { return Generator(options).run(); }

}  // namespace tarvo::worldgen

namespace tarvo::worldgen {

std::string parseOptions(const std::vector<std::string>& args, Options& o) {
    bool haveFrom = false, haveTo = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool valued = a == "--out" || a == "--from" || a == "--to" || a == "--today" || a == "--seed";
        if (valued && i + 1 >= args.size()) return a + " needs a value";
        if (a == "--out") {
            o.out = args[++i];
        } else if (a == "--from" || a == "--to" || a == "--today") {
            const std::string& v = args[++i];
            Day d;
            if (!Day::parse(v, d)) return a + ": not a date: " + v;
            if (a == "--from") {
                o.from = d;
                haveFrom = true;
            } else if (a == "--to") {
                o.to = d;
                haveTo = true;
            } else {
                o.today = d;
            }
        } else if (a == "--seed") {
            const std::string& v = args[++i];
            if (v.empty() || v.find_first_not_of("0123456789") != std::string::npos || v.size() > 19)
                return "--seed: not a number: " + v;
            o.seed = std::stoull(v);
        } else if (a == "--odds-all") {
            o.oddsAll = true;
        } else if (a == "--old-format") {
            o.oldFormat = true;
        } else {
            return "unknown argument " + a;
        }
    }
    if (o.out.empty() || !haveFrom || !haveTo) return "--out, --from and --to are required";
    if (o.to < o.from) return "--to is before --from";
    if (o.today && *o.today <= o.to) return "--today must be after --to";
    return {};
}

}  // namespace tarvo::worldgen
