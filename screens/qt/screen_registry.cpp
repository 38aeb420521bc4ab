#include "screen_registry.h"

#include "unit_dtget.h"

namespace tarvo {
namespace {

template <class Screen>
void openModal(const ScreenContext& c) {
    Screen screen(c.settingsPath, c.storeRoot, c.jvlink, c.parent);
    screen.exec();
}

constexpr ScreenEntry kScreens[] = {
    {"mnuSetUp", openModal<TfrmDataGet>},
};

}  // namespace

std::span<const ScreenEntry> screenRegistry() { return kScreens; }

}  // namespace tarvo
