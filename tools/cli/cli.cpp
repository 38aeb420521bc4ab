#include "cli.h"

#include <algorithm>
#include <iostream>

#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "settings.h"
#include "startup.h"

namespace tarvo::cli {

const std::vector<CommandInfo>& commands() {
    static const std::vector<CommandInfo> list = {
        {"init", cmdInit, "init                      run the start-up steps that need no window"},
        {"jv", cmdJv, "jv open SPEC FROMTIME OPTION | jv rtopen SPEC KEY   read the data service (--source, --dump)"},
        {"calc", cmdCalc, "calc FUNCTION ARGS...     one engine function; calc --batch reads tab-separated calls"},
        {"bb", cmdBb, "bb rebuild all|period FROM TO|race Y MD JYO R; bb write Y MD JYO R VARIANT; bb delete; bb adjust Y MD JYO R RW LS"},
        {"code", cmdCode, "code TABLE ARGS...        print the name (or colour) a code table gives"},
        {"races", cmdRaces, "races YYYYMMDD            the race list of a date, then same-day<TAB>1 or 0"},
        {"dates", cmdDates, "dates YEAR                the meeting dates list of a year, newest first"},
        {"card", cmdCard, "card YEAR MONTHDAY JYOCD RACENUM [--us]   the race card: header, rows, slots, scores, figures, bets"},
        {"csv", cmdCsv, "csv YEAR MONTHDAY JYOCD RACENUM FILE   write the race card as CSV"},
        {"pdf", cmdPdf, "pdf YEAR MONTHDAY JYOCD RACENUM FILE   write the race card as PDF"},
        {"mark", cmdMark, "mark YEAR MONTHDAY JYOCD RACENUM UMABAN MARK   set a user mark (◎ ○ ▲ △ × ☆ 注 or 無印)"},
        {"show", cmdShow, "show FAMILY KEYS...       print one stored record as field<TAB>value lines"},
        {"live", cmdLive, "live changes|weights YYYYMMDD | live odds|results YEAR MONTHDAY JYOCD RACENUM | live batch odds|results YYYYMMDD   same-day updates (--cancel-after-races N, --shown JYOCD RACENUM, --source)"},
        {"register", cmdRegister, "register setup YYYYMMDD | register usual   registration run (--cancel-after-files N, --source)"},
        {"convert", cmdConvert, "convert                   convert an old-format store (--cancel-after-files N, --source)"},
        {"silks", cmdSilks, "silks YEAR MONTHDAY JYOCD RACENUM   fetch the silks of the race's runners, print each one's picture"},
#ifdef TARVO_DOWNLOAD
        {"download", cmdDownload, "download babadif [--url URL]   download the local track variant file"},
#endif
        {"shb", cmdShb, "shb make FROMYEAR TOYEAR   newcomer statistics files of each year (--cancel-after-files N)"},
        {"jockeys", cmdJockeys, "jockeys [--retired] [--areas LIST] [--name TEXT] [--last-year] [--sort HEADING [asc|dsc]]   the jockey list"},
        {"trainers", cmdTrainers, "trainers [--retired] [--areas LIST] [--name TEXT] [--last-year] [--sort HEADING [asc|dsc]]   the trainer list"},
        {"jockey", cmdJockey, "jockey CODE|--name SHORTNAME   the jockey data screen"},
        {"tally", cmdTally, "tally FROM TO [--track NAME] [--bet tansho|umaren|umatan] [--us] [--classes LIST] [--ages LIST] [--surfaces LIST] [--dist FROM TO] [--going LIST] [--csv GRID FILE]   the prediction results tally"},
        {"trainer", cmdTrainer, "trainer CODE|--name SHORTNAME   the trainer data screen"},
        {"horse", cmdHorse, "horse KETTONUM [--race YEAR MONTHDAY JYOCD RACENUM] [--tag TAG]   the horse data screen"},
        {"result", cmdResult, "result YEAR MONTHDAY JYOCD RACENUM [--tag 通常|過去] [--prev|--next]   the race result screen"},
        {"odds", cmdOdds, "odds TYPE YEAR MONTHDAY JYOCD RACENUM [FIXED] [--select ROW COL]   the odds list (umaren, umatan, wide, sanrenpuku, sanrentan)"},
        {"local-card", cmdLocalCard, "local-card FILE.rfl        the race card of a provisional race card file after 出走表登録"},
        {"local-search", cmdLocalSearch, "local-search NAMEPREFIX [--age N] [--date YYYYMMDD]   the horse search of 地方重賞予想"},
        {"race-edit", cmdRaceEdit, "race-edit YEAR MONTHDAY JYOCD RACENUM UMABAN L3F C2 C3 C4   correct a local run's last 3F and corner positions"},
        {"search", cmdSearch, "search horses|races [criteria...]   the horse or race search after its scan (search without arguments lists the options)"},
        {"videos", cmdVideos, "videos YYYYMMDD [--sort HEADING[,HEADING...]]   the training video list of the date's week"},
        {"version", cmdVersion, "version                   the version information screen"},
    };
    return list;
}

const std::vector<std::string>& valueOptions() {
    static const std::vector<std::string> list = {
        "--home", "--source", "--dump", "--cancel-after-files", "--areas", "--name", "--sort",
        "--cancel-after-races", "--shown", "--tag", "--select", "--track", "--bet", "--classes", "--ages",
        "--surfaces", "--going", "--age", "--date", "--sire", "--dam", "--dam-sire", "--trainer", "--owner",
        "--sexes", "--age-from", "--age-to", "--from", "--to", "--distance-from", "--distance-to", "--weights",
        "--goings", "--url"};
    return list;
}

std::string Context::home() const { return resolveProgramFolder(option("--home")); }

std::string Context::storeRoot() const {
    return resolveStoreRoot(IniFile(home() + kSettingsFileName).read("UMA_DB", "dir"), home());
}

void Context::println(const std::string& cp932) const { *out << toUtf8(cp932) << '\n'; }

namespace {

// Options that take two values, handed over joined by a tab.
const std::vector<std::string> kPairOptions = {"--dist", "--csv"};

void usage(std::ostream& err) {
    err << "usage: tarvo-cli [--home DIR] COMMAND [ARGS...]\n";
    for (const auto& c : commands()) err << "  " << c.usage << '\n';
}

}  // namespace

int run(int argc, char** argv, std::ostream& out, std::ostream& err) { return run(argc, argv, std::cin, out, err); }

int run(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
    Context ctx;
    ctx.in = &in;
    ctx.out = &out;
    ctx.err = &err;
    std::string name;
    const auto& valued = valueOptions();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string key = a, value;
            if (const auto eq = a.find('='); eq != std::string::npos) {
                key = a.substr(0, eq);
                value = a.substr(eq + 1);
            } else if (std::find(kPairOptions.begin(), kPairOptions.end(), a) != kPairOptions.end()) {
                if (i + 2 >= argc) {
                    err << "tarvo-cli: " << a << " needs two values\n";
                    return 2;
                }
                value = std::string(argv[i + 1]) + '\t' + argv[i + 2];
                i += 2;
            } else if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
                if (i + 1 >= argc) {
                    err << "tarvo-cli: " << a << " needs a value\n";
                    return 2;
                }
                value = argv[++i];
            }
            // An empty folder or count would stand for the working folder or nothing.
            if (value.empty() && std::find(valued.begin(), valued.end(), key) != valued.end()) {
                err << "tarvo-cli: " << key << " needs a value\n";
                return 2;
            }
            ctx.options[key] = value;
        } else if (name.empty()) {
            name = a;
        } else {
            ctx.args.push_back(a);
        }
    }
    if (name.empty()) {
        usage(err);
        return 2;
    }
    for (const auto& c : commands()) {
        if (name == c.name) {
            try {
                return c.run(ctx);
            } catch (const IoError& e) {
                err << toUtf8(e.what()) << '\n';
                return 1;
            }
        }
    }
    err << "tarvo-cli: unknown command " << name << '\n';
    usage(err);
    return 2;
}

}  // namespace tarvo::cli
