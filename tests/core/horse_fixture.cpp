#include "horse_fixture.h"

#include <initializer_list>
#include <utility>

#include "cp932.h"
#include "layouts.h"
#include "record_io.h"
#include "um_index.h"

namespace tarvo::test {

void storeRun(const StorePaths& paths, const StoredRun& r, const std::string& kettoNum) {
    const std::string year = r.date.substr(0, 4), md = r.date.substr(4, 4);
    LineBuilder ra(Family::RA);
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"Year", year}, {"MonthDay", md}, {"JyoCD", r.jyoCD}, {"Kaiji", "01"}, {"Nichiji", "01"},
             {"RaceNum", r.raceNum}, {"DataKubun", "7"}, {"TrackCD", r.trackCD}, {"Kyori", r.kyori},
             {"SyubetuCD", "13"}, {"JyokenCD5", "005"}, {"SyussoTosu", "12"}, {"TenkoCD", r.tenko},
             {"SibaBabaCD", r.siba}, {"DirtBabaCD", r.dirt}, {"HaronTimeL3", r.raceL3f}})
        ra.assign(name, value);
    ra.assign("Ryakusyo6", sj("テスト特別"));
    writeRecord(paths.ra(year, md, r.jyoCD), ra.line(), recordKey(Family::RA));
    LineBuilder se(Family::SE, std::string_view(ra.line()).substr(0, 27));
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"DataKubun", r.dataKubun}, {"Umaban", "03"}, {"KettoNum", kettoNum}, {"KakuteiJyuni", r.place},
             {"IJyoCD", r.iJyoCD}, {"Time", r.time}, {"HaronTimeL3", r.l3f}, {"Futan", r.futan},
             {"Ninki", "02"}, {"TimeDiff", "+003"}, {"Jyuni2c", r.corners[0]}, {"Jyuni3c", r.corners[1]},
             {"Jyuni4c", r.corners[2]}, {"BaTaijyu", r.baTaijyu}, {"ZogenFugo", r.zogenFugo},
             {"ZogenSa", r.zogenSa}, {"SexCD", "1"}, {"Barei", "4"}, {"KeiroCD", "03"},
             {"ChokyosiCode", "01234"}, {"BanusiCode", "000077"}})
        se.assign(name, value);
    se.assign("Bamei", sj("テストホース"));
    se.assign("KisyuRyakusyo", sj("武豊"));
    se.assign("ChokyosiRyakusyo", sj("矢作"));
    se.assign("BanusiName", sj("テスト馬主"));
    writeRecord(paths.se(year, md, r.jyoCD), se.line(), recordKey(Family::SE));
    updateRunList(paths, kettoNum, sj("テストホース"), r.jyoCD, r.date, "1");
}

void storeHorseRecord(const StorePaths& paths, const std::string& prize) {
    LineBuilder um(Family::UM);
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"KettoNum", kFixtureHorse}, {"DelKubun", "1"}, {"BirthDate", "20200405"}, {"SexCD", "2"},
             {"KeiroCD", "01"}, {"TozaiCD", "2"}, {"ChokyosiCode", "01234"}, {"BanusiCode", "000077"},
             {"RuikeiSyutokuHeichi", prize}, {"RuikeiHonsyoHeiti", "000000150"}})
        um.assign(name, value);
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"Bamei", "テストホース"}, {"Ketto3InfoBamei1", "父馬"}, {"Ketto3InfoBamei2", "母馬"},
             {"Ketto3InfoBamei5", "母父馬"}, {"BanusiName", "テスト馬主"}, {"BreederName", "テスト牧場"},
             {"SanchiName", "浦河町"}})
        um.assign(name, sj(value));
    writeRecord(paths.um(kFixtureHorse, "datn"), um.line(), recordKey(Family::UM));
    LineBuilder ch(Family::CH);
    ch.assign("ChokyosiCode", "01234");
    ch.assign("ChokyosiName", sj("　矢作 芳人　"));
    writeRecord(paths.ch("01234"), ch.line(), recordKey(Family::CH));
}

}  // namespace tarvo::test
