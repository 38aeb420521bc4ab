// Results and odds of one race fetched through the data service for a screen
// that steps to a race not yet final (the result screen's previous and next
// race): stored, with the fetches' messages as message boxes, no card refresh.
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

void fetchRaceResults(const ScreenContext& context, const RaceKey& race) {
    if (context.readOnly) return;
    MessageBoxes view(context.parent);
    LiveUpdates live(context.jvlink, StorePaths(context.storeRoot), view);
    try {
        live.fetchResults(race);
        live.fetchOdds(race);
    } catch (const IoError& e) {
        view.message(MessageKind::Error, e.what());
    }
}

}  // namespace tarvo
