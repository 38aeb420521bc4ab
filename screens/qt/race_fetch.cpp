// Results and odds of one race fetched through the data service for a screen
// that steps to a race not yet final (the result screen's previous and next
// race), and the odds alone for the odds list's update: stored, with the
// fetches' messages as message boxes.
#include "fsys.h"
#include "live_fetch.h"
#include "msgbox.h"
#include "screen_links.h"

namespace tarvo {
namespace {

class MessageBoxes : public LiveView {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}
    void message(MessageKind kind, const std::string& text) override { showMessage(parent_, kind, text); }

private:
    QWidget* parent_;
};

}  // namespace

namespace {

// Runs fetch with a reading loop whose messages are message boxes; false in
// read-only mode or when an input/output failure ended it (after its message).
template <class Fetch>
bool runFetch(const ScreenContext& context, Fetch fetch) {
    if (context.readOnly) return false;
    MessageBoxes view(context.parent);
    LiveUpdates live(context.jvlink, StorePaths(context.storeRoot), view);
    try {
        return fetch(live);
    } catch (const IoError& e) {
        view.message(MessageKind::Error, e.what());
        return false;
    }
}

}  // namespace

void fetchRaceResults(const ScreenContext& context, const RaceKey& race) {
    runFetch(context, [&](LiveUpdates& live) {
        live.fetchResults(race);
        live.fetchOdds(race);
        return true;
    });
}

bool fetchRaceOdds(const ScreenContext& context, const RaceKey& race) {
    return runFetch(context, [&](LiveUpdates& live) { return live.fetchOdds(race); });
}

}  // namespace tarvo
