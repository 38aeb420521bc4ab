#include "store_fixture.h"

#include <cstdio>

#include "cp932.h"
#include "layouts.h"
#include "record_io.h"

namespace tarvo::test {
namespace {

void setKey(LineBuilder& b, const StoreFixture::Race& r) {
    b.set("Year", r.year);
    b.set("MonthDay", r.monthDay);
    b.set("JyoCD", r.jyoCD);
    b.set("Kaiji", "01");
    b.set("Nichiji", "01");
    b.set("RaceNum", r.raceNum);
}

}  // namespace

void setRaceKey(LineBuilder& b, const StoreFixture::Race& r) { setKey(b, r); }

void StoreFixture::addRace(const Race& r) {
    LineBuilder b(Family::RA);
    setKey(b, r);
    b.set("DataKubun", r.dataKubun);
    b.set("TrackCD", r.trackCD);
    b.set("Kyori", r.kyori);
    b.set("SyubetuCD", r.syubetuCD);
    b.set("JyokenCD5", r.jyokenCD5);
    b.set("GradeCD", r.gradeCD);
    b.setRaw("KigoCD", r.kigoCD);
    b.set("Ryakusyo6", sj(r.ryakusyo6));
    writeRecord(paths.ra(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::RA));
}

void StoreFixture::addRunner(const Race& r, int umaban, const std::string& nyusen, const std::string& time,
                             const std::string& l3f, const std::string& kakutei) {
    LineBuilder b(Family::SE);
    setKey(b, r);
    char num[3];
    std::snprintf(num, sizeof num, "%02d", umaban);
    b.set("Umaban", num);
    b.set("KettoNum", "20170000" + std::string(num));
    b.set("NyusenJyuni", nyusen);
    b.set("KakuteiJyuni", kakutei.empty() ? nyusen : kakutei);
    b.set("Time", time);
    b.set("HaronTimeL3", l3f);
    writeRecord(paths.se(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::SE));
}

StoreFixture::Race race(const std::string& monthDay, const std::string& jyoCD, const std::string& raceNum,
                        const std::string& dataKubun, const std::string& ryakusyo6) {
    StoreFixture::Race r;
    r.year = "2024";
    r.monthDay = monthDay;
    r.jyoCD = jyoCD;
    r.raceNum = raceNum;
    r.dataKubun = dataKubun;
    r.ryakusyo6 = ryakusyo6;
    return r;
}

std::string storedTime(int t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d%03d", t / 600, t % 600);
    return buf;
}

}  // namespace tarvo::test
