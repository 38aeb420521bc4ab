#include "screen_print.h"

#include <ostream>
#include <string>

#include "cp932.h"

namespace tarvo::cli {
namespace {

// One field: UTF-8, CR LF, CR or LF as \n, a tab as a space so fields stay apart.
std::string field(const std::string& cp932) {
    std::string out;
    const std::string utf8 = toUtf8(cp932);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
            out += "\\n";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

void printScreen(std::ostream& out, const ScreenView& view) {
    out << "caption\t" << field(view.caption) << '\n';
    for (const auto& l : view.labels) out << "label\t" << l.name << '\t' << field(l.text) << '\n';
    for (const auto& g : view.grids) {
        for (std::size_t n = 0; n < g.rows.size(); ++n) {
            out << "row\t" << g.name << '\t' << n;
            for (const std::string& cell : g.rows[n]) out << '\t' << field(cell);
            out << '\n';
        }
    }
    for (const auto& l : view.lists)
        for (const std::string& item : l.items) out << "item\t" << l.name << '\t' << field(item) << '\n';
    for (const auto& h : view.hits) out << "hit\t" << h.grid << '\t' << h.row << '\t' << h.col << '\n';
    for (const auto& s : view.states) out << "state\t" << s.name << '\t' << (s.enabled ? 1 : 0) << '\n';
    for (const std::string& m : view.messages) out << "message\t" << field(m) << '\n';
}

}  // namespace tarvo::cli
