// The JV-Data records of the sample world, built field by field on the raw
// layouts of store/JVData_Structure.h. Each function returns one record,
// exactly its layout's length, CR LF included.
#pragma once

#include <string>

#include "JVData_Structure.h"
#include "wg_market.h"
#include "wg_world.h"

namespace tarvo::worldgen {

// Race and runners. dk is the DataKubun; results false writes an entry card.
std::string raRecord(const Race& r, char dk, Day made, bool results);
std::string seRecord(const World& w, const Race& r, const Runner& ru, char dk, Day made, bool results);
std::string hrRecord(const Race& r, char dk, Day made);
// O1 to O6 (id "O1" ... "O6") announced at hhmm on the race day.
std::string oddsRecord(const Race& r, const Market& m, const std::string& id, char dk, Day made, int hhmm);
std::string ckRecord(const World& w, const Race& r, const Runner& ru, Day made, RawVersion v);

// Masters.
std::string umRecord(const World& w, int horse, char dk, Day made, RawVersion v);
std::string ksRecord(const World& w, int jockey, char dk, Day made);
std::string chRecord(const World& w, int trainer, char dk, Day made);
std::string brRecord(const World& w, int breeder, char dk, Day made, RawVersion v);
std::string bnRecord(const World& w, int owner, char dk, Day made);
std::string hnRecord(const World& w, int breedingHorse, char dk, Day made, RawVersion v);
std::string skRecord(const World& w, int horse, char dk, Day made, RawVersion v);

// Same-day changes, announced at hhmm.
// Body weights of a race's runners; before the draw every Umaban is 0 (the runners go by name).
std::string whRecord(const Race& r, const World& w, Day made, int hhmm, bool beforeDraw = false);
std::string weRecord(const Race& r, Day made, int hhmm, char tenko, char siba, char dirt, char tenkoBefore,
                     char sibaBefore, char dirtBefore);
std::string avRecord(const World& w, const Race& r, const Runner& ru, char kind, Day made, int hhmm);
std::string jcRecord(const World& w, const Race& r, const Runner& ru, int jockeyAfter, int futanAfter, Day made, int hhmm);
std::string tcRecord(const Race& r, int after, Day made, int hhmm);
std::string ccRecord(const Race& r, int kyoriAfter, int trackAfter, Day made, int hhmm);

// The breeding number and breeder code in a layout version.
std::string breedingNumber(int oldNumber, RawVersion v);
std::string breederCode(const std::string& code6, RawVersion v);

}  // namespace tarvo::worldgen
