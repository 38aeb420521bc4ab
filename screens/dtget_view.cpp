#include "dtget_view.h"

#include "cp932.h"

namespace tarvo {
namespace {

// The middle of each group's label names (lbl_RaceSTS, lbl_RaceStart, ...).
constexpr const char* kStems[kTrackDataGroup + 1] = {"Race", "Diff", "Snap", "Blod", "BBdt"};

StatusGroup group(const char* title, const std::string& stem, bool counted) {
    const std::string l = "lbl_" + stem;
    return {title, l + "STS", l + "Start", l + "End", counted ? l + "Cnt" : "", l + "Title"};
}

}  // namespace

const std::array<StatusGroup, kTrackDataGroup + 1>& statusGroups() {
    static const std::array<StatusGroup, kTrackDataGroup + 1> groups = [] {
        std::array<StatusGroup, kTrackDataGroup + 1> g;
        for (std::size_t i = 0; i < dataSpecs().size(); ++i) g[i] = group(dataSpecs()[i].title, kStems[i], true);
        g[kTrackDataGroup] = group("馬場情報の登録", kStems[kTrackDataGroup], false);
        return g;
    }();
    return groups;
}

ViewCell statusCell(const std::string& text, StatusColour colour) {
    switch (colour) {
        case StatusColour::Blue: return {text, Ink::Blue};
        case StatusColour::Teal: return {text, Ink::Teal};
        case StatusColour::Red: return {text, Ink::Red};
        case StatusColour::Black: break;
    }
    return {text, Ink::Black};
}

ViewCell statusBeforeRun() { return {sj("登録前"), Ink::Black}; }

}  // namespace tarvo
