// The provisional race card file (.rfl): any bytes read into the local graded
// race screen's state, written back, read again, and composed into a card
// over an empty store.
#include "card_view.h"
#include "engine_settings.h"
#include "fsys.h"
#include "fuzz_support.h"
#include "local_card.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    const StorePaths p(fuzz::scratch() + "data/");
    try {
        const RflContent content = readRfl(p, fuzz::asView(data, size), "20261206");
        LocalEntry entry;
        loadEntry(entry, content);
        const std::string written = rflText(content.header, entry.rows);
        const RflContent again = readRfl(p, written, "20261206");
        (void)buildLocalRaceCard({p, fuzz::scratch() + "file/"}, again.header, again.rows);
    } catch (const IoError&) {
        // Reported to the user as an input/output failure: not a fault.
    }
    return 0;
}
