#include "jv_fixture.h"

#include <stdexcept>

#include "cp932.h"
#include "fsys.h"
#include "jv_record.h"
#include "record_writers.h"
#include "test_support.h"

namespace tarvo::test {
namespace {

std::string two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

struct DayRace {
    const char* jyo;
    const char* raceNum;
    const char* kubun;
    const char* trackCD;
    const char* kyori;
    int firstHorse;  // horses firstHorse to firstHorse + 3 run
};
constexpr DayRace kDayRaces[] = {
    {"05", "01", "7", "17", "1600", 1},
    {"05", "02", "7", "24", "1400", 5},
    {"44", "01", "A", "24", "1400", 9},
};

std::string kettoNum(int horse) { return "20211000" + two(horse); }

}  // namespace

Raw race(const char* id, const char* jyo, const char* kubun, const char* monthDay, const char* raceNum) {
    Raw r(id);
    r.set("head.DataKubun", kubun).set("head.MakeDate.Year", "2024").set("head.MakeDate.Month", "01");
    r.set("head.MakeDate.Day", "05").set("id.Year", "2024").set("id.MonthDay", monthDay).set("id.JyoCD", jyo);
    r.set("id.Kaiji", "01").set("id.Nichiji", "02").set("id.RaceNum", raceNum);
    return r;
}

Raw raRecord(const char* jyo, const char* trackCD, const char* kyori, const char* kubun, const char* monthDay,
             const char* raceNum) {
    Raw r = race("RA", jyo, kubun, monthDay, raceNum);
    r.set("TrackCD", trackCD).set("Kyori", kyori).set("RaceInfo.Hondai", sj("ニューイヤーステークス"));
    r.set("JyokenInfo.SyubetuCD", "12").set("JyokenInfo.JyokenCD[5]", "703").set("JyokenInfo.KigoCD", "A  ");
    return r;
}

Raw seRecord(const char* jyo, const char* kubun, const char* ketto) {
    Raw r = race("SE", jyo, kubun);
    r.set("Umaban", "03").set("KettoNum", ketto).set("Bamei", sj("テストホース")).set("SexCD", "1");
    return r;
}

void storeRaceRecord(const StorePaths& paths, const Raw& raw) {
    JVRecord r;
    if (!r.copyFrom(raw.rec, static_cast<long>(raw.rec.size()))) throw std::invalid_argument("no record: " + raw.rec.substr(0, 2));
    RecordWriters w(paths);
    if (!(raw.rec.substr(0, 2) == "RA" ? w.writeRA(r) : w.writeSE(r))) throw std::invalid_argument("not stored");
}

void addRealTime(const std::string& sourceRoot, const std::string& spec, const std::string& key,
                 const std::vector<Raw>& records) {
    std::string data;
    for (const Raw& r : records) data += r.rec;
    spit(sourceRoot + spec + "/" + key + ".jvd", data);
}

std::string SourceFolder::addFile(const std::string& spec, const std::string& timestamp, const std::string& label,
                                  const std::vector<std::string>& records) const {
    std::string data;
    for (const std::string& r : records) data += r;
    const std::string name = timestamp + "-" + label + ".jvd";
    makeDirs(root_ + spec + "/");
    spit(root_ + spec + "/" + name, data);
    return name;
}

void addRaceDay(const SourceFolder& src, const std::string& monthDay) {
    const char* md = monthDay.c_str();
    const std::string day = "2024" + monthDay;
    std::vector<std::string> ra, se, hr, o1, ck, um, ks, hn, sk;
    for (const DayRace& d : kDayRaces) {
        ra.push_back(raRecord(d.jyo, d.trackCD, d.kyori, d.kubun, md, d.raceNum).rec);
        Raw pay = race("HR", d.jyo, d.kubun, md, d.raceNum);
        pay.set("PayTansyo[1].Umaban", "01").set("PayTansyo[1].Pay", "000000350");
        hr.push_back(pay.rec);
        o1.push_back(race("O1", d.jyo, d.kubun, md, d.raceNum).rec);
        for (int i = 0; i < 4; ++i) {
            const int horse = d.firstHorse + i;
            Raw r = race("SE", d.jyo, d.kubun, md, d.raceNum);
            r.set("Umaban", two(i + 1)).set("Wakuban", std::to_string(i + 1)).set("KettoNum", kettoNum(horse));
            r.set("Bamei", sj("テストホース") + std::to_string(horse)).set("SexCD", "1").set("Barei", "03");
            r.set("KisyuCode", "0100" + std::to_string(i + 1)).set("Futan", "550");
            r.set("NyusenJyuni", two(i + 1)).set("KakuteiJyuni", two(i + 1));
            r.set("Time", std::to_string(1360 + i)).set("HaronTimeL3", std::to_string(350 + i));
            r.set("Jyuni1c", two(i + 1)).set("Jyuni4c", two(i + 1));
            if (i == 3 && std::string(d.raceNum) == "02") r.set("IJyoCD", "1");  // scratched
            se.push_back(r.rec);

            Raw c = race("CK", d.jyo, d.kubun, md, d.raceNum);
            c.set("UmaChaku.KettoNum", kettoNum(horse)).set("KisyuChaku.KisyuCode", "0100" + std::to_string(i + 1));
            c.set("UmaChaku.ChakuKaisuSibaKyori[3].Chakukaisu[1]", "001");
            ck.push_back(c.rec);

            Raw h("UM");
            h.set("head.DataKubun", "1").set("KettoNum", kettoNum(horse)).set("Bamei", sj("テストホース") + std::to_string(horse));
            h.set("SexCD", "1").set("Ketto3Info[1].HansyokuNum", "1110000001").set("RuikeiHonsyoHeiti", day.substr(2));
            um.push_back(h.rec);
        }
    }
    for (int j = 1; j <= 4; ++j) {
        Raw k("KS");
        k.set("head.DataKubun", "1").set("KisyuCode", "0100" + std::to_string(j)).set("KisyuName", sj("騎手") + std::to_string(j));
        k.set("KisyuRyakusyo", sj("騎手") + std::to_string(j)).set("HonZenRuikei[1].SetYear", "2024");
        ks.push_back(k.rec);
    }
    Raw sire("HN");
    sire.set("head.DataKubun", "1").set("HansyokuNum", "1110000001").set("Bamei", sj("サイアー"));
    sire.set("BirthYear", "2010");
    hn.push_back(sire.rec);
    Raw off("SK");
    off.set("head.DataKubun", "1").set("KettoNum", kettoNum(1)).set("HansyokuNum[1]", "1110000001");
    sk.push_back(off.rec);

    src.addFile("RACE", day + "180000", "RA", ra);
    src.addFile("RACE", day + "180100", "SE", se);
    src.addFile("RACE", day + "180200", "HR", hr);
    src.addFile("RACE", day + "180300", "O1", o1);
    src.addFile("DIFN", day + "190000", "UM", um);
    src.addFile("DIFN", day + "190100", "KS", ks);
    src.addFile("SNPN", day + "200000", "CK", ck);
    src.addFile("BLDN", day + "210000", "HN", hn);
    src.addFile("BLDN", day + "210100", "SK", sk);
}

std::vector<std::string> centralRaceKeys(const std::string& monthDay) {
    std::vector<std::string> keys;
    for (const DayRace& d : kDayRaces)
        if (std::string(d.jyo) == "05") keys.push_back("2024" + monthDay + d.jyo + d.raceNum);
    return keys;
}

}  // namespace tarvo::test
