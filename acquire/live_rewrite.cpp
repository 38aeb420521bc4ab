#include "live_rewrite.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "textfn.h"

namespace tarvo {
namespace {

// What a line is to a rewrite: not of the records looked for, one of them
// left as it is, or one to rewrite.
enum class Match { Other, Keep, Write };
// Where the scan ends: after the first line written, at the first other line
// after the records looked for, or at the end of the file.
enum class Until { First, GroupEnd, FileEnd };

using Matcher = std::function<Match(std::string_view line)>;
using Editor = std::function<void(LineBuilder& line)>;

// A file opened for writing on its first rewritten line and closed at the end.
class LineWriter {
public:
    explicit LineWriter(std::string path) : path_(std::move(path)) {}
    ~LineWriter() {
        if (fd_ >= 0) ::close(fd_);
    }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void write(std::size_t offset, std::string_view line) {
        if (fd_ < 0) fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0) throwIoError(sj("ファイルに書き込めません"), path_, errno);
        std::size_t done = 0;
        while (done < line.size()) {
            const ssize_t put = ::pwrite(fd_, line.data() + done, line.size() - done, static_cast<off_t>(offset + done));
            if (put <= 0) throwIoError(sj("ファイルに書き込めません"), path_, put < 0 ? errno : EIO);
            done += static_cast<std::size_t>(put);
        }
    }

private:
    std::string path_;
    int fd_ = -1;
};

int rewriteLines(const std::string& path, Family f, Until until, const Matcher& match, const Editor& edit) {
    std::string data;
    if (path.empty() || !readFile(path, data)) return 0;
    const std::size_t width = layoutOf(f).lineLength - 2;
    LineWriter out(path);
    int written = 0;
    bool inGroup = false;
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t end = data.find("\r\n", at);
        const std::size_t next = end == std::string::npos ? data.size() : end + 2;
        const std::string_view line = std::string_view(data).substr(at, (end == std::string::npos ? data.size() : end) - at);
        const std::size_t offset = at;
        at = next;
        if (line.size() != width) continue;  // not a line of this family: never written
        const Match m = match(line);
        if (m == Match::Other) {
            if (inGroup && until == Until::GroupEnd) break;
            continue;
        }
        inGroup = true;
        if (m == Match::Keep) continue;
        LineBuilder b(f, line);
        edit(b);
        const std::string_view rewritten = std::string_view(b.line()).substr(0, width);
        if (rewritten != line) out.write(offset, rewritten);
        ++written;
        if (until == Until::First) break;
    }
    return written;
}

bool sameRace(Family f, std::string_view line, const RaceKey& race) {
    return getField(f, line, "Year") == race.year && getField(f, line, "MonthDay") == race.monthDay &&
           getField(f, line, "JyoCD") == race.jyoCD && getField(f, line, "RaceNum") == race.raceNum;
}

bool entryState(Family f, std::string_view line) {
    const std::string_view k = getField(f, line, "DataKubun");
    return k == "1" || k == "2";
}

// The runner of a change: by number, or by race and trimmed name when the number is 0.
bool sameRunner(std::string_view se, const RunnerRef& r) {
    if (!sameRace(Family::SE, se, r.race)) return false;
    if (toIntDef(trimBoth(r.umaban), 0) != 0) return getField(Family::SE, se, "Umaban") == r.umaban;
    return trimBoth(getField(Family::SE, se, "Bamei")) == trimBoth(r.bamei);
}

std::string seFile(const StorePaths& p, const RaceKey& race) { return p.se(race.year, race.monthDay, race.jyoCD); }
std::string raFile(const StorePaths& p, const RaceKey& race) { return p.ra(race.year, race.monthDay, race.jyoCD); }

int rewriteRunner(const StorePaths& p, const RunnerRef& r, bool entriesOnly, const Editor& edit) {
    return rewriteLines(seFile(p, r.race), Family::SE, Until::First,
                        [&](std::string_view se) {
                            return sameRunner(se, r) && (!entriesOnly || entryState(Family::SE, se)) ? Match::Write
                                                                                                    : Match::Other;
                        },
                        edit);
}

int rewriteEntryRace(const StorePaths& p, const RaceKey& race, const Editor& edit) {
    return rewriteLines(raFile(p, race), Family::RA, Until::First,
                        [&](std::string_view ra) {
                            return sameRace(Family::RA, ra, race) && entryState(Family::RA, ra) ? Match::Write
                                                                                               : Match::Other;
                        },
                        edit);
}

bool announced(std::string_view code) { return toIntDef(trimBoth(code), 0) != 0; }

}  // namespace

std::string cutToWholeChars(std::string_view text, std::size_t width) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + charLen(text, end);
        if (next > width) break;
        end = next;
    }
    return trimBoth(text.substr(0, end));
}

GoingUpdate goingFor(std::string_view trackCD, std::string_view siba, std::string_view dirt) {
    const int t = toIntDef(trimBoth(trackCD), 0);
    const bool s = announced(siba), d = announced(dirt);
    GoingUpdate g;
    if (t >= 10 && t <= 22) {
        if (s) g.siba = siba;
    } else if (t >= 23 && t <= 29) {
        if (d) g.dirt = dirt;
    } else if (t == 52) {
        if (s && d) g = {std::string(siba), std::string(dirt)};
    } else if (t >= 51 && t <= 59) {
        if (s) g.siba = siba;
    }
    return g;
}

int rewriteWinOdds(const StorePaths& p, const RaceKey& race, std::string_view umaban, std::string_view odds,
                   std::string_view ninki) {
    return rewriteLines(seFile(p, race), Family::SE, Until::First,
                        [&](std::string_view se) {
                            return sameRace(Family::SE, se, race) && getField(Family::SE, se, "Umaban") == umaban
                                       ? Match::Write
                                       : Match::Other;
                        },
                        [&](LineBuilder& b) {
                            b.assign("Odds", odds);
                            b.assign("Ninki", ninki);
                        });
}

int rewriteBodyWeight(const StorePaths& p, const RunnerRef& runner, std::string_view baTaijyu,
                      std::string_view zogenFugo, std::string_view zogenSa) {
    return rewriteRunner(p, runner, false, [&](LineBuilder& b) {
        b.assign("BaTaijyu", baTaijyu);
        b.assign("ZogenFugo", zogenFugo);
        b.assign("ZogenSa", zogenSa);
    });
}

int rewriteScratch(const StorePaths& p, const RunnerRef& runner, std::string_view ijyoCD) {
    return rewriteRunner(p, runner, true, [&](LineBuilder& b) { b.assign("IJyoCD", ijyoCD); });
}

int rewriteJockey(const StorePaths& p, const RunnerRef& runner, const JockeyChange& c) {
    return rewriteRunner(p, runner, true, [&](LineBuilder& b) {
        b.assign("Futan", c.futan);
        b.assign("FutanBefore", c.futanBefore);
        b.assign("KisyuCode", c.kisyuCode);
        b.assign("KisyuCodeBefore", c.kisyuCodeBefore);
        b.assign("KisyuRyakusyo", cutToWholeChars(c.name, 8));
        b.assign("KisyuRyakusyoBefore", cutToWholeChars(c.nameBefore, 8));
        b.assign("MinaraiCD", c.minaraiCD);
        b.assign("MinaraiCDBefore", c.minaraiCDBefore);
    });
}

int rewriteStartTime(const StorePaths& p, const RaceKey& race, std::string_view after, std::string_view before) {
    return rewriteEntryRace(p, race, [&](LineBuilder& b) {
        b.assign("HassoTime", after);
        b.assign("HassoTimeBefore", before);
    });
}

int rewriteCourse(const StorePaths& p, const RaceKey& race, std::string_view kyori, std::string_view kyoriBefore,
                  std::string_view trackCD, std::string_view trackCDBefore) {
    int n = rewriteEntryRace(p, race, [&](LineBuilder& b) {
        b.assign("Kyori", kyori);
        b.assign("KyoriBefore", kyoriBefore);
        b.assign("TrackCD", trackCD);
        b.assign("TrackCDBefore", trackCDBefore);
    });
    n += rewriteLines(seFile(p, race), Family::SE, Until::GroupEnd,
                      [&](std::string_view se) {
                          if (!sameRace(Family::SE, se, race)) return Match::Other;
                          return entryState(Family::SE, se) ? Match::Write : Match::Keep;
                      },
                      [&](LineBuilder& b) {
                          b.assign("TrackCD", trackCD);
                          b.assign("Kyori", kyori);
                      });
    return n;
}

int rewriteWeather(const StorePaths& p, const WeatherAnnouncement& a) {
    return rewriteLines(
        p.ra(a.year, a.monthDay, a.jyoCD), Family::RA, Until::FileEnd,
        [&](std::string_view ra) {
            const bool match = getField(Family::RA, ra, "Year") == a.year &&
                               getField(Family::RA, ra, "MonthDay") == a.monthDay &&
                               getField(Family::RA, ra, "JyoCD") == a.jyoCD &&
                               getField(Family::RA, ra, "DataKubun") == "2" &&
                               toIntDef(trimBoth(getField(Family::RA, ra, "HassoTime")), 0) >= a.hhmm;
            return match ? Match::Write : Match::Other;
        },
        [&](LineBuilder& b) {
            if (announced(a.tenkoCD)) b.assign("TenkoCD", a.tenkoCD);
            const GoingUpdate g = goingFor(b.get("TrackCD"), a.sibaBabaCD, a.dirtBabaCD);
            if (!g.siba.empty()) b.assign("SibaBabaCD", g.siba);
            if (!g.dirt.empty()) b.assign("DirtBabaCD", g.dirt);
        });
}

}  // namespace tarvo
