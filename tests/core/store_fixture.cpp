#include "store_fixture.h"

#include <cstdio>

#include "cp932.h"
#include "layouts.h"
#include "record_io.h"

namespace tarvo::test {
namespace {

void setKey(LineBuilder& b, const StoreFixture::Race& r) {
    b.assign("Year", r.year);
    b.assign("MonthDay", r.monthDay);
    b.assign("JyoCD", r.jyoCD);
    b.assign("Kaiji", "01");
    b.assign("Nichiji", "01");
    b.assign("RaceNum", r.raceNum);
}

}  // namespace

void setRaceKey(LineBuilder& b, const StoreFixture::Race& r) { setKey(b, r); }

void StoreFixture::addRace(const Race& r) {
    LineBuilder b(Family::RA);
    setKey(b, r);
    b.assign("DataKubun", r.dataKubun);
    b.assign("TrackCD", r.trackCD);
    b.assign("Kyori", r.kyori);
    b.assign("SyubetuCD", r.syubetuCD);
    b.assign("JyokenCD5", r.jyokenCD5);
    b.assign("GradeCD", r.gradeCD);
    b.assignRaw("KigoCD", r.kigoCD);
    b.assign("Ryakusyo6", sj(r.ryakusyo6));
    writeRecord(paths.ra(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::RA));
}

void StoreFixture::addRunner(const Race& r, int umaban, const std::string& nyusen, const std::string& time,
                             const std::string& l3f, const std::string& kakutei) {
    LineBuilder b(Family::SE);
    setKey(b, r);
    char num[3];
    std::snprintf(num, sizeof num, "%02d", umaban);
    b.assign("Umaban", num);
    b.assign("KettoNum", "20170000" + std::string(num));
    b.assign("NyusenJyuni", nyusen);
    b.assign("KakuteiJyuni", kakutei.empty() ? nyusen : kakutei);
    b.assign("Time", time);
    b.assign("HaronTimeL3", l3f);
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
