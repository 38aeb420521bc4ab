// tarvo-cli code TABLE ARGS...: prints the result of one code table on one line.
#include <array>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "cli.h"
#include "code_tables.h"
#include "cp932.h"

namespace tarvo::cli {
namespace {

using Args = std::vector<std::string>;  // CP932

std::string hexColour(Rgb rgb) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return buf;
}

struct CodeTable {
    const char* name;
    const char* args;  // argument names, for the usage text
    std::size_t arity;
    std::string (*run)(const Args&);
    const char* emptyIsError = nullptr;  // the error an empty result stands for, if any
};

const std::vector<CodeTable>& tables() {
    static const std::vector<CodeTable> list = {
        {"frame-colour", "WAKUBAN", 1, [](const Args& a) { return hexColour(frameColour(a[0])); }},
        {"placing-colour", "POS", 1, [](const Args& a) { return hexColour(placingColour(a[0])); }},
        {"value-colour", "TEXT", 1, [](const Args& a) { return hexColour(valueColour(a[0])); }},
        {"track-name", "JYOCD", 1, [](const Args& a) { return trackName(a[0]); }},
        {"track-code", "NAME", 1, [](const Args& a) { return trackCode(a[0]); }},
        {"class-long", "SYUBETUCD JYOKENCD5 DATE", 3, [](const Args& a) { return classNameLong(a[0], a[1], a[2]); }},
        {"class-short", "SYUBETUCD JYOKENCD5 DATE", 3, [](const Args& a) { return classNameShort(a[0], a[1], a[2]); }},
        {"class-shortest", "SYUBETUCD JYOKENCD5 DATE", 3, [](const Args& a) { return classNameShortest(a[0], a[1], a[2]); }},
        {"engine-class", "SYUBETUCD JYOKENCD5 GRADECD", 3, [](const Args& a) { return engineClassName(a[0], a[1], a[2]); }},
        {"grade-name", "JYOKENCD5 GRADECD RACENAME", 3, [](const Args& a) { return gradeName(a[0], a[1], a[2]); }},
        {"weight-rule", "JYURYOCD", 1, [](const Args& a) { return weightRuleName(a[0]); }},
        {"course-name", "TRACKCD KYORI", 2, [](const Args& a) { return courseName(a[0], a[1]); }},
        {"course-key", "TRACKCD KYORI", 2, [](const Args& a) { return courseKey(a[0], a[1]); }},
        {"race-symbol", "KIGOCD", 1, [](const Args& a) { return raceSymbol(a[0]); }},
        {"sex-limit", "KIGOCD", 1, [](const Args& a) { return sexRestriction(a[0]); }},
        {"sex-name", "SEXCD", 1, [](const Args& a) { return sexName(a[0]); }},
        {"sex-code", "NAME", 1, [](const Args& a) { return sexCode(a[0]); }},
        {"going", "CODE", 1, [](const Args& a) { return goingName(a[0]); }},
        {"weather", "CODE", 1, [](const Args& a) { return weatherName(a[0]); }},
        {"coat-long", "KEIROCD", 1, [](const Args& a) { return coatNameLong(a[0]); }},
        {"coat-short", "KEIROCD", 1, [](const Args& a) { return coatNameShort(a[0]); }},
        {"affiliation", "TOZAICD", 1, [](const Args& a) { return affiliationName(a[0]); }},
        {"weekday-name", "DATE", 1, [](const Args& a) { return weekdayName(a[0]); }, "not a valid date"},
        {"weekday-number", "NAME", 1, [](const Args& a) { return weekdayNumber(a[0]); }},
    };
    return list;
}

void listTables(std::ostream& err) {
    err << "usage: tarvo-cli code TABLE ARGS...\n";
    for (const auto& t : tables()) err << "  " << t.name << ' ' << t.args << '\n';
}

}  // namespace

int cmdCode(Context& ctx) {
    if (ctx.args.empty()) {
        listTables(*ctx.err);
        return 2;
    }
    const std::string& name = ctx.args[0];
    for (const auto& t : tables()) {
        if (name != t.name) continue;
        if (ctx.args.size() - 1 != t.arity) {
            *ctx.err << "tarvo-cli code: " << t.name << " takes " << t.args << '\n';
            return 2;
        }
        Args args;
        for (std::size_t i = 1; i < ctx.args.size(); ++i) args.push_back(toCp932(ctx.args[i]));
        const std::string result = t.run(args);
        if (result.empty() && t.emptyIsError) {
            *ctx.err << "tarvo-cli code: " << t.name << ": " << t.emptyIsError << ": " << ctx.args[1] << '\n';
            return 2;
        }
        ctx.println(result);
        return 0;
    }
    *ctx.err << "tarvo-cli code: unknown table " << name << '\n';
    listTables(*ctx.err);
    return 2;
}

}  // namespace tarvo::cli
