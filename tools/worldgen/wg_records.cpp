#include "wg_records.h"

#include <map>
#include <stdexcept>

#include "wg_course.h"

namespace tarvo::worldgen {
namespace {

std::string at(std::string_view group, int k, std::string_view member = {}) {
    std::string s(group);
    s += '[';
    s += std::to_string(k);
    s += ']';
    s += member;
    return s;
}

// One record under construction.
class Rec {
public:
    explicit Rec(const char* id, RawVersion v = RawVersion::Current) : l_(*rawLayout(id, v)), r_(l_.blank()) {}
    Rec& s(std::string_view path, std::string_view text) {
        l_.put(r_, path, text);
        return *this;
    }
    Rec& n(std::string_view path, long long v) {
        l_.putNum(r_, path, v);
        return *this;
    }
    Rec& c(std::string_view path, char ch) { return s(path, std::string_view(&ch, 1)); }
    Rec& date(std::string_view group, Day d) {
        const std::string g(group);
        return n(g + ".Year", d.year()).n(g + ".Month", d.month()).n(g + ".Day", d.dayOfMonth());
    }
    Rec& zeroDate(std::string_view group) {
        const std::string g(group);
        return n(g + ".Year", 0).n(g + ".Month", 0).n(g + ".Day", 0);
    }
    Rec& head(char dk, Day made) {
        c("head.DataKubun", dk);
        return date("head.MakeDate", made);
    }
    Rec& raceId(const Race& r, std::string_view prefix = "id.", bool withNum = true) {
        const std::string p(prefix);
        n(p + "Year", r.day.year()).s(p + "MonthDay", r.day.mmdd()).s(p + "JyoCD", r.jyo);
        n(p + "Kaiji", r.kai).n(p + "Nichiji", r.nichi);
        if (withNum) n(p + "RaceNum", r.num);
        return *this;
    }
    Rec& happyo(Day d, int hhmm) {
        return n("HappyoTime.Month", d.month()).n("HappyoTime.Day", d.dayOfMonth()).n("HappyoTime.Hour", hhmm / 100).n(
            "HappyoTime.Minute", hhmm % 100);
    }
    const RawLayout& layout() const { return l_; }
    std::string& bytes() { return r_; }
    std::string take() { return std::move(r_); }

private:
    const RawLayout& l_;
    std::string r_;
};

// Where the figures of a tally go in a layout: each count, prize and year
// field below a path prefix, found once per layout and prefix.
enum class TallyKind { Count, Style, Starts, SetYear, HonFlat, HonJump, FukaFlat, FukaJump, HonTotal, FukaTotal,
                       EarnFlat, EarnJump };
struct TallySlot {
    const RawField* field;
    TallyKind kind;
    int cat = 0, slot = 0;
};

int groupCategory(const std::string& path, const std::string& group) {
    std::string name = group;
    int idx = 0;
    if (const auto b = group.find('['); b != std::string::npos) {
        name = group.substr(0, b);
        idx = std::stoi(group.substr(b + 1));
    }
    const auto ranged = [&](int base, int count) {
        if (idx < 1 || idx > count) throw std::logic_error("count group out of range: " + path);
        return base + idx - 1;
    };
    if (name.empty() || name == "ChakuSogo") return kAll;
    if (name == "ChakuChuo") return kCentral;
    if (name == "ChakuKaisuBa") return ranged(kSurfDir, 7);
    if (name == "ChakuKaisuJyotai") return ranged(kGoing, 12);
    if (name == "ChakuKaisuSibaKyori") return ranged(kTurfDist, 9);
    if (name == "ChakuKaisuDirtKyori") return ranged(kDirtDist, 9);
    if (name == "ChakuKaisuJyoSiba") return ranged(kTurfJyo, 10);
    if (name == "ChakuKaisuJyoDirt") return ranged(kDirtJyo, 10);
    if (name == "ChakuKaisuJyoSyogai") return ranged(kJumpJyo, 10);
    if (name == "ChakuKaisuSiba") return kTurf;
    if (name == "ChakuKaisuDirt") return kDirt;
    if (name == "ChakuKaisuSyogai") return kJump;
    if (name == "ChakuKaisuHeichi") return kFlat;
    if (name == "ChakuKaisuKyori") return ranged(kKyori6, 6);
    if (name == "ChakuKaisuJyo") {  // odd slots flat, even slots steeplechase, by track
        ranged(0, 20);
        return idx % 2 ? kJyoFlat + (idx - 1) / 2 : kJyoJump + idx / 2 - 1;
    }
    throw std::logic_error("no category for the count group of " + path);
}

const std::vector<TallySlot>& tallyPlan(const RawLayout& l, const std::string& prefix) {
    static std::map<std::pair<const RawLayout*, std::string>, std::vector<TallySlot>> plans;
    const auto key = std::make_pair(&l, prefix);
    if (const auto it = plans.find(key); it != plans.end()) return it->second;
    static const std::map<std::string, TallyKind> prizes = {
        {"HonSyokinHeichi", TallyKind::HonFlat},      {"HonSyokinSyogai", TallyKind::HonJump},
        {"FukaSyokinHeichi", TallyKind::FukaFlat},    {"FukaSyokinSyogai", TallyKind::FukaJump},
        {"HonSyokinTotal", TallyKind::HonTotal},      {"FukaSyokin", TallyKind::FukaTotal},
        {"RuikeiHonsyoHeiti", TallyKind::HonFlat},    {"RuikeiHonsyoSyogai", TallyKind::HonJump},
        {"RuikeiFukaHeichi", TallyKind::FukaFlat},    {"RuikeiFukaSyogai", TallyKind::FukaJump},
        {"RuikeiSyutokuHeichi", TallyKind::EarnFlat}, {"RuikeiSyutokuSyogai", TallyKind::EarnJump},
        {"SetYear", TallyKind::SetYear},              {"RaceCount", TallyKind::Starts},
    };
    std::vector<TallySlot> plan;
    for (const RawField& f : l.fields()) {
        if (f.path.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = f.path.substr(prefix.size());
        const auto dot = rest.rfind('.');
        const std::string leaf = dot == std::string::npos ? rest : rest.substr(dot + 1);
        const std::string group = dot == std::string::npos ? std::string() : rest.substr(0, dot);
        if (leaf.compare(0, 11, "Chakukaisu[") == 0 || leaf.compare(0, 11, "ChakuKaisu[") == 0) {
            plan.push_back({&f, TallyKind::Count, groupCategory(f.path, group), std::stoi(leaf.substr(11)) - 1});
        } else if (group.empty() && leaf.compare(0, 10, "Kyakusitu[") == 0) {
            plan.push_back({&f, TallyKind::Style, 0, std::stoi(leaf.substr(10)) - 1});
        } else if (const auto p = prizes.find(leaf); p != prizes.end() && group.empty()) {
            plan.push_back({&f, p->second});
        }
    }
    return plans[key] = std::move(plan);
}

void fillTally(Rec& rec, const std::string& prefix, const Tally& t, int year) {
    for (const TallySlot& s : tallyPlan(rec.layout(), prefix)) {
        long long v = 0;
        switch (s.kind) {
            case TallyKind::Count: v = t.c[static_cast<std::size_t>(s.cat)][static_cast<std::size_t>(s.slot)]; break;
            case TallyKind::Style: v = t.style[static_cast<std::size_t>(s.slot)]; break;
            case TallyKind::Starts: v = t.starts; break;
            case TallyKind::SetYear: v = year; break;
            case TallyKind::HonFlat: v = t.honFlat; break;
            case TallyKind::HonJump: v = t.honJump; break;
            case TallyKind::FukaFlat: v = t.fukaFlat; break;
            case TallyKind::FukaJump: v = t.fukaJump; break;
            case TallyKind::HonTotal: v = t.honFlat + t.honJump; break;
            case TallyKind::FukaTotal: v = t.fukaFlat + t.fukaJump; break;
            case TallyKind::EarnFlat: v = t.honFlat + t.fukaFlat; break;
            case TallyKind::EarnJump: v = t.honJump + t.fukaJump; break;
        }
        rec.layout().putNum(rec.bytes(), *s.field, v);
    }
}

// Periods as the masters carry them: [1] this year, [2] last year, [3] the career
// (three sets), or [1] this year, [2] the career (two sets).
void fillPeriods(Rec& rec, const std::string& group, const Periods& p, int sets) {
    fillTally(rec, at(group, 1, "."), p.thisYear, p.year);
    if (sets == 3) {
        fillTally(rec, at(group, 2, "."), p.lastYear, p.year - 1);
        fillTally(rec, at(group, 3, "."), p.total, p.year);
    } else {
        fillTally(rec, at(group, 2, "."), p.total, p.year);
    }
}

void fillGradedWins(Rec& rec, const std::vector<GradedWin>& wins) {
    for (int k = 1; k <= 3; ++k) {
        const std::string g = at("SaikinJyusyo", k, ".");
        if (static_cast<std::size_t>(k) > wins.size()) {
            for (const char* f : {"SaikinJyusyoid.Year", "SaikinJyusyoid.MonthDay", "SaikinJyusyoid.JyoCD",
                                  "SaikinJyusyoid.Kaiji", "SaikinJyusyoid.Nichiji", "SaikinJyusyoid.RaceNum",
                                  "SyussoTosu", "KettoNum"})
                rec.n(g + f, 0);
            continue;
        }
        const GradedWin& w = wins[static_cast<std::size_t>(k - 1)];
        rec.n(g + "SaikinJyusyoid.Year", w.day / 10000).n(g + "SaikinJyusyoid.MonthDay", w.day % 10000);
        rec.s(g + "SaikinJyusyoid.JyoCD", w.jyo).n(g + "SaikinJyusyoid.Kaiji", w.kai).n(g + "SaikinJyusyoid.Nichiji", w.nichi);
        rec.n(g + "SaikinJyusyoid.RaceNum", w.num).s(g + "Hondai", w.hondai).s(g + "Ryakusyo10", w.r10);
        rec.s(g + "Ryakusyo6", w.r6).s(g + "Ryakusyo3", w.r3).c(g + "GradeCD", w.grade);
        rec.n(g + "SyussoTosu", w.starters).s(g + "KettoNum", w.ketto).s(g + "Bamei", w.bamei);
    }
}

std::array<int, 14> ancestors(const World& w, int sire, int dam) {
    std::array<int, 14> a;
    a.fill(-1);
    const auto parent = [&w](int b, bool father) {
        if (b < 0) return -1;
        const BreedingHorse& h = w.breeding[static_cast<std::size_t>(b)];
        return father ? h.sire : h.dam;
    };
    a[0] = sire;
    a[1] = dam;
    for (int i = 0; i < 2; ++i) {  // grandparents 2..5, great-grandparents 6..13
        a[static_cast<std::size_t>(2 + 2 * i)] = parent(a[static_cast<std::size_t>(i)], true);
        a[static_cast<std::size_t>(3 + 2 * i)] = parent(a[static_cast<std::size_t>(i)], false);
    }
    for (int i = 0; i < 4; ++i) {
        a[static_cast<std::size_t>(6 + 2 * i)] = parent(a[static_cast<std::size_t>(2 + i)], true);
        a[static_cast<std::size_t>(7 + 2 * i)] = parent(a[static_cast<std::size_t>(2 + i)], false);
    }
    return a;
}

char weekdayCode(Day d) {
    static constexpr char codes[7] = {'4', '5', '6', '7', '8', '1', '2'};  // Monday ... Sunday
    return codes[d.weekday()];
}

std::string signedTenths(int v) { return (v < 0 ? "-" : "+") + zpad(v < 0 ? -v : v, 3); }

}  // namespace

std::string breedingNumber(int oldNumber, RawVersion v) {
    const std::string old = zpad(oldNumber, 8);
    return v == RawVersion::Old ? old : old.substr(0, 3) + "00" + old.substr(3);
}

std::string breederCode(const std::string& code6, RawVersion v) { return v == RawVersion::Old ? code6 : code6 + "00"; }

std::string raRecord(const Race& r, char dk, Day made, bool results) {
    Rec x("RA");
    x.head(dk, made).raceId(r);
    x.c("RaceInfo.YoubiCD", weekdayCode(r.day)).n("RaceInfo.TokuNum", r.hondai.empty() ? 0 : r.tokuNum);
    x.s("RaceInfo.Hondai", r.hondai).s("RaceInfo.Ryakusyo10", r.r10).s("RaceInfo.Ryakusyo6", r.r6).s("RaceInfo.Ryakusyo3", r.r3);
    x.c("RaceInfo.Kubun", r.hondai.empty() ? ' ' : '1').n("RaceInfo.Nkai", r.nkai);
    x.c("GradeCD", r.grade).c("GradeCDBefore", ' ');
    x.s("JyokenInfo.SyubetuCD", r.syubetu).s("JyokenInfo.KigoCD", r.kigo).c("JyokenInfo.JyuryoCD", r.jyuryo);
    for (int k = 1; k <= 5; ++k) x.s(at("JyokenInfo.JyokenCD", k), r.jyokenAll[static_cast<std::size_t>(k - 1)]);
    x.n("Kyori", r.kyori).n("KyoriBefore", 0).n("TrackCD", r.trackCD).n("TrackCDBefore", 0);
    x.s("CourseKubunCD", r.jump || r.local ? "  " : r.courseKubun).s("CourseKubunCDBefore", "  ");
    for (int k = 1; k <= 7; ++k) x.n(at("Honsyokin", k), k <= 5 ? r.prize[static_cast<std::size_t>(k - 1)] : 0);
    for (int k = 1; k <= 5; ++k) x.n(at("HonsyokinBefore", k), 0).n(at("Fukasyokin", k), 0);
    for (int k = 1; k <= 3; ++k) x.n(at("FukasyokinBefore", k), 0);
    x.n("HassoTime", r.hasso).n("HassoTimeBefore", 0);
    x.n("TorokuTosu", static_cast<long long>(r.runners.size()));
    x.n("SyussoTosu", results || dk == '2' ? r.starters : 0).n("NyusenTosu", results ? r.finishers : 0);
    x.c("TenkoBaba.TenkoCD", results ? r.tenko : '0');
    x.c("TenkoBaba.SibaBabaCD", results && !r.dirtCourse() ? r.siba : '0');
    x.c("TenkoBaba.DirtBabaCD", results && (r.dirtCourse() || r.local) ? r.dirt : '0');
    for (int k = 1; k <= 25; ++k)
        x.n(at("LapTime", k), results && static_cast<std::size_t>(k) <= r.laps.size() ? r.laps[static_cast<std::size_t>(k - 1)] : 0);
    x.n("SyogaiMileTime", 0);
    x.n("HaronTimeS3", results ? r.s3 : 0).n("HaronTimeS4", results ? r.s4 : 0);
    x.n("HaronTimeL3", results ? r.l3 : 0).n("HaronTimeL4", results ? r.l4 : 0);
    for (int k = 1; k <= 4; ++k) {
        const bool used = results && k <= r.corners;
        x.n(at("CornerInfo", k, ".Corner"), used ? 4 - r.corners + k : 0).n(at("CornerInfo", k, ".Syukaisu"), used ? 1 : 0);
        x.s(at("CornerInfo", k, ".Jyuni"), used ? r.cornerText[static_cast<std::size_t>(k - 1)] : "");
    }
    x.c("RecordUpKubun", '0');
    return x.take();
}

std::string seRecord(const World& w, const Race& r, const Runner& ru, char dk, Day made, bool results) {
    const Horse& h = w.horses[static_cast<std::size_t>(ru.horse)];
    const Person& t = w.trainers[static_cast<std::size_t>(h.trainer)];
    const Owner& o = w.owners[static_cast<std::size_t>(h.owner)];
    const Jockey& j = w.jockeys[static_cast<std::size_t>(ru.jockey)];
    const bool drawn = dk != '1';
    Rec x("SE");
    x.head(dk, made).raceId(r);
    x.n("Wakuban", drawn ? ru.waku : 0).n("Umaban", drawn ? ru.uma : 0).s("KettoNum", h.ketto).s("Bamei", h.name.name);
    x.s("UmaKigoCD", "00").c("SexCD", h.sex).c("HinsyuCD", '1').s("KeiroCD", h.keiro).n("Barei", h.age(r.day));
    x.c("TozaiCD", t.tozai).s("ChokyosiCode", t.code).s("ChokyosiRyakusyo", t.name.ryakusyo);
    x.s("BanusiCode", o.code).s("BanusiName", o.name.name).s("Fukusyoku", o.silks);
    x.n("Futan", ru.futan).n("FutanBefore", 0).c("Blinker", ru.horse % 9 == 0 ? '1' : '0');
    x.s("KisyuCode", j.code).n("KisyuCodeBefore", 0).s("KisyuRyakusyo", j.name.ryakusyo);
    x.c("MinaraiCD", j.minarai).c("MinaraiCDBefore", '0');
    const bool ran = results && ru.ijyo != '1' && ru.ijyo != '2';
    const bool finished = ran && ru.arrive > 0;
    if (ran) {
        x.n("BaTaijyu", ru.weight);
        if (ru.firstStart || ru.diff == 0) x.c("ZogenFugo", ' ').s("ZogenSa", ru.firstStart ? "   " : "000");
        else x.c("ZogenFugo", ru.diff > 0 ? '+' : '-').n("ZogenSa", ru.diff > 0 ? ru.diff : -ru.diff);
    }
    x.c("IJyoCD", results ? ru.ijyo : '0');
    x.n("NyusenJyuni", finished ? ru.arrive : 0).n("KakuteiJyuni", finished ? ru.place : 0);
    x.c("DochakuKubun", ru.deadHeat && results ? '1' : '0').n("DochakuTosu", ru.deadHeat && results ? 2 : 0);
    x.n("Time", finished ? ru.time / 600 * 1000 + ru.time % 600 : 0);
    x.s("ChakusaCD", finished ? ru.margin : "   ").s("ChakusaCDP", "   ").s("ChakusaCDPP", "   ");
    for (int c = 0; c < 4; ++c) x.n("Jyuni" + std::to_string(c + 1) + "c", ran ? ru.corner[static_cast<std::size_t>(c)] : 0);
    if (results && (ru.ijyo == '1' || ru.ijyo == '2')) x.s("Odds", ru.ijyo == '1' ? "----" : "****").n("Ninki", 0);
    else if (results) x.n("Odds", ru.odds).n("Ninki", ru.ninki);
    x.n("Honsyokin", results ? ru.prize : 0).n("Fukasyokin", 0);
    x.n("HaronTimeL4", finished ? ru.l4f : 0).n("HaronTimeL3", finished ? ru.l3f : 0);
    if (finished) {
        // The winner names the runner-up; every other runner the winner.
        int k = 1;
        for (const Runner& o2 : r.runners) {
            if (&o2 == &ru || o2.arrive == 0 || k > 3) continue;
            if ((ru.place == 1 && o2.place == 2) || (ru.place != 1 && o2.place == 1) || (ru.place == 1 && o2.place == 1)) {
                const Horse& oh = w.horses[static_cast<std::size_t>(o2.horse)];
                x.s(at("ChakuUmaInfo", k, ".KettoNum"), oh.ketto).s(at("ChakuUmaInfo", k, ".Bamei"), oh.name.name);
                ++k;
            }
        }
        for (; k <= 3; ++k) x.n(at("ChakuUmaInfo", k, ".KettoNum"), 0);
        x.s("TimeDiff", signedTenths(ru.timeDiff));
    } else {
        for (int k = 1; k <= 3; ++k) x.n(at("ChakuUmaInfo", k, ".KettoNum"), 0);
        x.s("TimeDiff", "    ");
    }
    x.c("RecordUpKubun", '0').c("DMKubun", '0').n("DMJyuni", 0);
    x.n("KyakusituKubun", finished ? ru.style : 0);
    return x.take();
}

std::string hrRecord(const Race& r, char dk, Day made) {
    Rec x("HR");
    x.head(dk, made).raceId(r);
    x.n("TorokuTosu", static_cast<long long>(r.runners.size())).n("SyussoTosu", r.starters);
    bool refund = false;
    for (const Runner& ru : r.runners) refund = refund || ru.ijyo == '1' || ru.ijyo == '2';
    for (int k = 1; k <= 9; ++k) x.c(at("FuseirituFlag", k), '0').c(at("TokubaraiFlag", k), '0').c(at("HenkanFlag", k), refund ? '1' : '0');
    for (int u = 1; u <= 28; ++u) {
        char f = '0';
        for (const Runner& ru : r.runners)
            if (ru.uma == u && (ru.ijyo == '1' || ru.ijyo == '2')) f = '1';
        x.c(at("HenkanUma", u), f);
    }
    for (int k = 1; k <= 8; ++k) x.c(at("HenkanWaku", k), '0').c(at("HenkanDoWaku", k), '0');
    struct Group {
        const char* name;
        const char* comb;
        int slots;
        Bet bet;
    };
    static constexpr Group groups[] = {{"PayTansyo", ".Umaban", 3, kWin},      {"PayFukusyo", ".Umaban", 5, kPlace},
                                       {"PayWakuren", ".Umaban", 3, kBracket}, {"PayUmaren", ".Kumi", 3, kQuinella},
                                       {"PayWide", ".Kumi", 7, kWide},         {"PayReserved1", ".Kumi", 3, kBets},
                                       {"PayUmatan", ".Kumi", 6, kExacta},     {"PaySanrenpuku", ".Kumi", 3, kTrio},
                                       {"PaySanrentan", ".Kumi", 6, kTrifecta}};
    for (const Group& g : groups)
        for (int k = 1; k <= g.slots; ++k) {
            const std::vector<Payout>* pays = g.bet == kBets ? nullptr : &r.pays[g.bet];
            if (pays && static_cast<std::size_t>(k) <= pays->size()) {
                const Payout& p = (*pays)[static_cast<std::size_t>(k - 1)];
                x.s(at(g.name, k, g.comb), p.kumi).n(at(g.name, k, ".Pay"), p.pay).n(at(g.name, k, ".Ninki"), p.ninki);
            } else {
                x.s(at(g.name, k, g.comb), "").n(at(g.name, k, ".Pay"), 0).n(at(g.name, k, ".Ninki"), 0);
            }
        }
    return x.take();
}

std::string oddsRecord(const Race& r, const Market& m, const std::string& id, char dk, Day made, int hhmm) {
    Rec x(id.c_str());
    x.head(dk, made).raceId(r).happyo(r.day, hhmm);
    x.n("TorokuTosu", static_cast<long long>(r.runners.size())).n("SyussoTosu", r.starters);
    const auto elements = [&](const char* group, Bet bet, bool range, int slots) {
        const std::vector<Combo>& v = m.bets[bet];
        const RawLayout& l = x.layout();
        for (int k = 1; k <= slots; ++k) {
            const std::string g = at(group, k, ".");
            if (static_cast<std::size_t>(k) > v.size()) continue;  // unused elements stay blank
            const Combo& c = v[static_cast<std::size_t>(k - 1)];
            l.put(x.bytes(), g + (bet == kWin || bet == kPlace ? "Umaban" : "Kumi"), c.kumi);
            if (range) {
                l.putNum(x.bytes(), g + "OddsLow", c.odds);
                l.putNum(x.bytes(), g + "OddsHigh", c.high);
            } else {
                l.putNum(x.bytes(), g + "Odds", c.odds);
            }
            l.putNum(x.bytes(), g + "Ninki", c.ninki);
        }
    };
    const long long votes = r.votes;
    if (id == "O1") {
        x.c("TansyoFlag", '1').c("FukusyoFlag", r.starters >= 5 ? '1' : '0').c("WakurenFlag", m.bets[kBracket].empty() ? '0' : '1');
        x.n("FukuChakuBaraiKey", m.placesPaid);
        elements("OddsTansyoInfo", kWin, false, 28);
        elements("OddsFukusyoInfo", kPlace, true, 28);
        elements("OddsWakurenInfo", kBracket, false, 36);
        x.n("TotalHyosuTansyo", votes).n("TotalHyosuFukusyo", votes * 3 / 2).n("TotalHyosuWakuren", votes / 3);
    } else if (id == "O2") {
        x.c("UmarenFlag", '1');
        elements("OddsUmarenInfo", kQuinella, false, 153);
        x.n("TotalHyosuUmaren", votes * 3);
    } else if (id == "O3") {
        x.c("WideFlag", '1');
        elements("OddsWideInfo", kWide, true, 153);
        x.n("TotalHyosuWide", votes);
    } else if (id == "O4") {
        x.c("UmatanFlag", '1');
        elements("OddsUmatanInfo", kExacta, false, 306);
        x.n("TotalHyosuUmatan", votes * 2);
    } else if (id == "O5") {
        x.c("SanrenpukuFlag", '1');
        elements("OddsSanrenInfo", kTrio, false, 816);
        x.n("TotalHyosuSanrenpuku", votes * 4);
    } else {
        x.c("SanrentanFlag", '1');
        elements("OddsSanrentanInfo", kTrifecta, false, 4896);
        x.n("TotalHyosuSanrentan", votes * 6);
    }
    return x.take();
}

std::string ckRecord(const World& w, const Race& r, const Runner& ru, Day made, RawVersion v) {
    const Horse& h = w.horses[static_cast<std::size_t>(ru.horse)];
    const Jockey& j = w.jockeys[static_cast<std::size_t>(ru.jockey)];
    const Person& t = w.trainers[static_cast<std::size_t>(h.trainer)];
    const Owner& o = w.owners[static_cast<std::size_t>(h.owner)];
    const Breeder& b = w.breeders[static_cast<std::size_t>(h.breeder)];
    Rec x("CK", v);
    x.head('1', made).raceId(r);
    x.s("UmaChaku.KettoNum", h.ketto).s("UmaChaku.Bamei", h.name.name);
    fillTally(x, "UmaChaku.", h.tally, r.day.year());
    x.s("KisyuChaku.KisyuCode", j.code).s("KisyuChaku.KisyuName", j.name.name);
    fillPeriods(x, "KisyuChaku.HonRuikei", j.t, 2);
    x.s("ChokyoChaku.ChokyosiCode", t.code).s("ChokyoChaku.ChokyosiName", t.name.name);
    fillPeriods(x, "ChokyoChaku.HonRuikei", t.t, 2);
    x.s("BanusiChaku.BanusiCode", o.code).s("BanusiChaku.BanusiName_Co", o.name.nameCo).s("BanusiChaku.BanusiName", o.name.name);
    fillPeriods(x, "BanusiChaku.HonRuikei", o.t, 2);
    x.s("BreederChaku.BreederCode", breederCode(b.code, v)).s("BreederChaku.BreederName_Co", b.name.nameCo);
    x.s("BreederChaku.BreederName", b.name.name);
    fillPeriods(x, "BreederChaku.HonRuikei", b.t, 2);
    return x.take();
}

std::string umRecord(const World& w, int horse, char dk, Day made, RawVersion v) {
    const Horse& h = w.horses[static_cast<std::size_t>(horse)];
    const Person& t = w.trainers[static_cast<std::size_t>(h.trainer)];
    const Owner& o = w.owners[static_cast<std::size_t>(h.owner)];
    const Breeder& b = w.breeders[static_cast<std::size_t>(h.breeder)];
    Rec x("UM", v);
    x.head(dk, made).s("KettoNum", h.ketto).c("DelKubun", '0').date("RegDate", h.registered).zeroDate("DelDate");
    x.date("BirthDate", h.birth).s("Bamei", h.name.name).s("BameiKana", h.name.kana).s("BameiEng", h.name.eng);
    x.c("ZaikyuFlag", '1').s("UmaKigoCD", "00").c("SexCD", h.sex).c("HinsyuCD", '1').s("KeiroCD", h.keiro);
    const auto a = ancestors(w, h.sire, h.dam);
    for (int k = 1; k <= 14; ++k) {
        const int id = a[static_cast<std::size_t>(k - 1)];
        x.s(at("Ketto3Info", k, ".HansyokuNum"), breedingNumber(id < 0 ? 0 : w.breeding[static_cast<std::size_t>(id)].number, v));
        x.s(at("Ketto3Info", k, ".Bamei"), id < 0 ? "" : w.breeding[static_cast<std::size_t>(id)].name.name);
    }
    x.c("TozaiCD", t.tozai).s("ChokyosiCode", t.code).s("ChokyosiRyakusyo", t.name.ryakusyo);
    x.s("BreederCode", breederCode(b.code, v)).s("BreederName", b.name.name).s("SanchiName", b.address);
    x.s("BanusiCode", o.code).s("BanusiName", o.name.name);
    fillTally(x, "", h.tally, made.year());
    return x.take();
}

namespace {

void personHead(Rec& x, const Person& p) {
    x.c("DelKubun", '0').date("IssueDate", p.issue).zeroDate("DelDate").date("BirthDate", p.birth);
}

}  // namespace

std::string ksRecord(const World& w, int jockey, char dk, Day made) {
    const Jockey& j = w.jockeys[static_cast<std::size_t>(jockey)];
    const Person& t = w.trainers[static_cast<std::size_t>(j.trainer)];
    Rec x("KS");
    x.head(dk, made).s("KisyuCode", j.code);
    personHead(x, j);
    x.s("KisyuName", j.name.name).s("KisyuNameKana", j.name.kana).s("KisyuRyakusyo", j.name.ryakusyo).s("KisyuNameEng", j.name.eng);
    x.c("SexCD", j.sex).c("SikakuCD", j.jumps ? '1' : '2').c("MinaraiCD", j.minarai).c("TozaiCD", j.tozai);
    x.s("ChokyosiCode", t.code).s("ChokyosiRyakusyo", t.name.ryakusyo);
    for (int k = 1; k <= 2; ++k) {
        const FirstRun& r = j.firstRide[k - 1];
        const std::string g = at("HatuKiJyo", k, ".");
        x.n(g + "Hatukijyoid.Year", r.day / 10000).n(g + "Hatukijyoid.MonthDay", r.day % 10000).s(g + "Hatukijyoid.JyoCD", r.day ? r.jyo : "00");
        x.n(g + "Hatukijyoid.Kaiji", r.kai).n(g + "Hatukijyoid.Nichiji", r.nichi).n(g + "Hatukijyoid.RaceNum", r.num);
        x.n(g + "SyussoTosu", r.starters).s(g + "KettoNum", r.day ? r.ketto : "0000000000").s(g + "Bamei", r.bamei);
        x.n(g + "KakuteiJyuni", r.place).c(g + "IJyoCD", '0');
        const FirstRun& wn = j.firstWin[k - 1];
        const std::string h = at("HatuSyori", k, ".");
        x.n(h + "Hatusyoriid.Year", wn.day / 10000).n(h + "Hatusyoriid.MonthDay", wn.day % 10000).s(h + "Hatusyoriid.JyoCD", wn.day ? wn.jyo : "00");
        x.n(h + "Hatusyoriid.Kaiji", wn.kai).n(h + "Hatusyoriid.Nichiji", wn.nichi).n(h + "Hatusyoriid.RaceNum", wn.num);
        x.n(h + "SyussoTosu", wn.starters).s(h + "KettoNum", wn.day ? wn.ketto : "0000000000").s(h + "Bamei", wn.bamei);
    }
    fillGradedWins(x, j.graded);
    fillPeriods(x, "HonZenRuikei", j.t, 3);
    return x.take();
}

std::string chRecord(const World& w, int trainer, char dk, Day made) {
    const Person& t = w.trainers[static_cast<std::size_t>(trainer)];
    Rec x("CH");
    x.head(dk, made).s("ChokyosiCode", t.code);
    personHead(x, t);
    x.s("ChokyosiName", t.name.name).s("ChokyosiNameKana", t.name.kana).s("ChokyosiRyakusyo", t.name.ryakusyo);
    x.s("ChokyosiNameEng", t.name.eng).c("SexCD", t.sex).c("TozaiCD", t.tozai);
    fillGradedWins(x, t.graded);
    fillPeriods(x, "HonZenRuikei", t.t, 3);
    return x.take();
}

std::string brRecord(const World& w, int breeder, char dk, Day made, RawVersion v) {
    const Breeder& b = w.breeders[static_cast<std::size_t>(breeder)];
    Rec x("BR", v);
    x.head(dk, made).s("BreederCode", breederCode(b.code, v)).s("BreederName_Co", b.name.nameCo).s("BreederName", b.name.name);
    x.s("BreederNameKana", b.name.kana).s("BreederNameEng", b.name.eng).s("Address", b.address);
    fillPeriods(x, "HonRuikei", b.t, 2);
    return x.take();
}

std::string bnRecord(const World& w, int owner, char dk, Day made) {
    const Owner& o = w.owners[static_cast<std::size_t>(owner)];
    Rec x("BN");
    x.head(dk, made).s("BanusiCode", o.code).s("BanusiName_Co", o.name.nameCo).s("BanusiName", o.name.name);
    x.s("BanusiNameKana", o.name.kana).s("BanusiNameEng", o.name.eng).s("Fukusyoku", o.silks);
    fillPeriods(x, "HonRuikei", o.t, 2);
    return x.take();
}

std::string hnRecord(const World& w, int id, char dk, Day made, RawVersion v) {
    const BreedingHorse& b = w.breeding[static_cast<std::size_t>(id)];
    const auto number = [&w, v](int x) { return breedingNumber(x < 0 ? 0 : w.breeding[static_cast<std::size_t>(x)].number, v); };
    Rec x("HN", v);
    x.head(dk, made).s("HansyokuNum", breedingNumber(b.number, v)).s("KettoNum", b.ketto).c("DelKubun", '0');
    x.s("Bamei", b.name.name).s("BameiKana", b.name.kana).s("BameiEng", b.name.eng).n("BirthYear", b.birthYear);
    x.c("SexCD", b.sex).c("HinsyuCD", '1').s("KeiroCD", b.keiro).c("HansyokuMochiKubun", b.imported ? '1' : '0');
    x.n("ImportYear", b.importYear).s("SanchiName", b.birthplace);
    x.s("HansyokuFNum", number(b.sire)).s("HansyokuMNum", number(b.dam));
    return x.take();
}

std::string skRecord(const World& w, int horse, char dk, Day made, RawVersion v) {
    const Horse& h = w.horses[static_cast<std::size_t>(horse)];
    const Breeder& b = w.breeders[static_cast<std::size_t>(h.breeder)];
    Rec x("SK", v);
    x.head(dk, made).s("KettoNum", h.ketto).date("BirthDate", h.birth).c("SexCD", h.sex).c("HinsyuCD", '1');
    x.s("KeiroCD", h.keiro).c("SankuMochiKubun", '0').n("ImportYear", 0).s("BreederCode", breederCode(b.code, v));
    x.s("SanchiName", b.address);
    const auto a = ancestors(w, h.sire, h.dam);
    for (int k = 1; k <= 14; ++k) {
        const int id = a[static_cast<std::size_t>(k - 1)];
        x.s(at("HansyokuNum", k), breedingNumber(id < 0 ? 0 : w.breeding[static_cast<std::size_t>(id)].number, v));
    }
    return x.take();
}

std::string whRecord(const Race& r, const World& w, Day made, int hhmm, bool beforeDraw) {
    Rec x("WH");
    x.head('1', made).raceId(r).happyo(r.day, hhmm);
    int k = 1;
    for (const Runner& ru : r.runners) {
        if (k > 18) break;
        const std::string g = at("BataijyuInfo", k++, ".");
        const Horse& h = w.horses[static_cast<std::size_t>(ru.horse)];
        x.n(g + "Umaban", beforeDraw ? 0 : ru.uma).s(g + "Bamei", h.name.name);
        if (ru.ijyo == '1' || ru.ijyo == '2') {
            x.s(g + "BaTaijyu", "   ").c(g + "ZogenFugo", ' ').s(g + "ZogenSa", "   ");
        } else {
            x.n(g + "BaTaijyu", ru.weight);
            if (ru.firstStart) x.c(g + "ZogenFugo", ' ').s(g + "ZogenSa", "   ");
            else x.c(g + "ZogenFugo", ru.diff > 0 ? '+' : ru.diff < 0 ? '-' : ' ').n(g + "ZogenSa", ru.diff < 0 ? -ru.diff : ru.diff);
        }
    }
    return x.take();
}

std::string weRecord(const Race& r, Day made, int hhmm, char tenko, char siba, char dirt, char tenkoBefore,
                     char sibaBefore, char dirtBefore) {
    Rec x("WE");
    x.head('1', made).raceId(r, "id.", false);
    x.n("HappyoTime.Month", r.day.month()).n("HappyoTime.Day", r.day.dayOfMonth()).n("HappyoTime.Hour", hhmm / 100).n(
        "HappyoTime.Minute", hhmm % 100);
    x.c("HenkoID", tenkoBefore == '0' ? '1' : '3');
    x.c("TenkoBaba.TenkoCD", tenko).c("TenkoBaba.SibaBabaCD", siba).c("TenkoBaba.DirtBabaCD", dirt);
    x.c("TenkoBabaBefore.TenkoCD", tenkoBefore).c("TenkoBabaBefore.SibaBabaCD", sibaBefore).c("TenkoBabaBefore.DirtBabaCD", dirtBefore);
    return x.take();
}

std::string avRecord(const World& w, const Race& r, const Runner& ru, char kind, Day made, int hhmm) {
    Rec x("AV");
    x.head(kind, made).raceId(r).happyo(r.day, hhmm);
    x.n("Umaban", ru.uma).s("Bamei", w.horses[static_cast<std::size_t>(ru.horse)].name.name).s("JiyuKubun", "001");
    return x.take();
}

std::string jcRecord(const World& w, const Race& r, const Runner& ru, int jockeyAfter, int futanAfter, Day made, int hhmm) {
    const Jockey& before = w.jockeys[static_cast<std::size_t>(ru.jockey)];
    const Jockey& after = w.jockeys[static_cast<std::size_t>(jockeyAfter)];
    Rec x("JC");
    x.head('1', made).raceId(r).happyo(r.day, hhmm);
    x.n("Umaban", ru.uma).s("Bamei", w.horses[static_cast<std::size_t>(ru.horse)].name.name);
    x.n("JCInfoAfter.Futan", futanAfter).s("JCInfoAfter.KisyuCode", after.code).s("JCInfoAfter.KisyuName", after.name.name);
    x.c("JCInfoAfter.MinaraiCD", after.minarai);
    x.n("JCInfoBefore.Futan", ru.futan).s("JCInfoBefore.KisyuCode", before.code).s("JCInfoBefore.KisyuName", before.name.name);
    x.c("JCInfoBefore.MinaraiCD", before.minarai);
    return x.take();
}

std::string tcRecord(const Race& r, int after, Day made, int hhmm) {
    Rec x("TC");
    x.head('1', made).raceId(r).happyo(r.day, hhmm);
    x.n("TCInfoAfter.Ji", after / 100).n("TCInfoAfter.Fun", after % 100);
    x.n("TCInfoBefore.Ji", r.hasso / 100).n("TCInfoBefore.Fun", r.hasso % 100);
    return x.take();
}

std::string ccRecord(const Race& r, int kyoriAfter, int trackAfter, Day made, int hhmm) {
    Rec x("CC");
    x.head('1', made).raceId(r).happyo(r.day, hhmm);
    x.n("CCInfoAfter.Kyori", kyoriAfter).n("CCInfoAfter.TruckCD", trackAfter);
    x.n("CCInfoBefore.Kyori", r.kyori).n("CCInfoBefore.TruckCD", r.trackCD).c("JiyuCD", '1');
    return x.take();
}

}  // namespace tarvo::worldgen
