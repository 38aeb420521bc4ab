// The command-line tool: global options, subcommands, output in UTF-8.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace tarvo {
struct RaceCard;
}

namespace tarvo::cli {

struct Context {
    std::vector<std::string> args;              // positional words after the subcommand name
    std::map<std::string, std::string> options; // "--name" -> value ("" for flags)
    std::ostream* out = nullptr;                // standard output
    std::ostream* err = nullptr;                // standard error
    std::istream* in = nullptr;                 // standard input

    bool has(const std::string& opt) const { return options.count(opt) != 0; }
    std::string option(const std::string& opt) const {
        const auto it = options.find(opt);
        return it == options.end() ? std::string() : it->second;
    }
    // The program folder: --home, TARVO_HOME or the executable's folder.
    std::string home() const;
    // The store root as start-up fixes it: the settings' UMA_DB dir when that folder exists, else home() + "data/".
    std::string storeRoot() const;
    // Writes CP932 text as UTF-8 followed by a line end.
    void println(const std::string& cp932) const;
};

using Command = int (*)(Context&);

struct CommandInfo {
    const char* name;
    Command run;
    const char* usage;
};

// Every subcommand, in the order the usage text lists them.
const std::vector<CommandInfo>& commands();

// Global options that take a value (the others are flags).
const std::vector<std::string>& valueOptions();

// Parses argv and runs the subcommand; returns the exit status.
int run(int argc, char** argv, std::ostream& out, std::ostream& err);
// The same with standard input given (calc --batch reads it).
int run(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

// Subcommands.
int cmdInit(Context& ctx);
int cmdJv(Context& ctx);
int cmdCalc(Context& ctx);
int cmdCode(Context& ctx);
int cmdShow(Context& ctx);
int cmdRaces(Context& ctx);
int cmdDates(Context& ctx);
int cmdCard(Context& ctx);
int cmdCsv(Context& ctx);
int cmdMark(Context& ctx);
int cmdPdf(Context& ctx);
int cmdBb(Context& ctx);
int cmdRegister(Context& ctx);
int cmdLive(Context& ctx);
int cmdShb(Context& ctx);
int cmdConvert(Context& ctx);
int cmdSilks(Context& ctx);
int cmdDownload(Context& ctx);
int cmdJockeys(Context& ctx);
int cmdTrainers(Context& ctx);
int cmdJockey(Context& ctx);
int cmdTrainer(Context& ctx);
int cmdHorse(Context& ctx);
int cmdResult(Context& ctx);
int cmdOdds(Context& ctx);
int cmdTally(Context& ctx);
int cmdLocalCard(Context& ctx);
int cmdLocalSearch(Context& ctx);
int cmdRaceEdit(Context& ctx);

// Prints a built race card as tarvo-cli card does.
void printRaceCard(const Context& ctx, const RaceCard& card);
int cmdSearch(Context& ctx);
int cmdVideos(Context& ctx);
int cmdVersion(Context& ctx);

}  // namespace tarvo::cli
