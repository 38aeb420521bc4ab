// Race video through the data service's viewer: the availability check behind
// every "VTR" button and the play call with its error messages.
#include <string>

#include "msgbox.h"
#include "qtext.h"
#include "screen_links.h"

namespace tarvo {

bool raceVideoAvailable(const ScreenContext& context, const RaceKey& race) {
    return context.raceVideo && context.jvlink.JVMVCheck(race.text()) > 0;
}

void playRaceVideo(const ScreenContext& context, const RaceKey& race) {
    const int result = context.jvlink.JVMVPlay(race.text());
    if (result >= 0) return;
    const std::string text = result == JVDTLabLib_TLB::JVResult::kMaintenance
                                 ? sjs(QStringLiteral("サーバーメンテナンス中です"))
                                 : sjs(QStringLiteral("再生エラー コード：")) + std::to_string(result);
    showMessage(context.parent, MessageKind::Error, text);
}

}  // namespace tarvo
