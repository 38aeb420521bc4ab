#include "screen_registry.h"

#include "fsys.h"
#include "unit_dtget.h"
#include "unit_kshlist.h"
#include "unit_shkmain.h"
#include "unit_smbdtmk.h"

namespace tarvo {
namespace {

template <class Screen>
void openModal(const ScreenContext& c) {
    Screen screen(c.settingsPath, c.storeRoot, c.jvlink, c.parent);
    screen.exec();
}

// The file folder is the program folder's "file/", beside the settings file.
void openSmbDtMk(const ScreenContext& c) {
    TfrmSmbDtMk screen(dirName(c.settingsPath) + "file/", c.storeRoot, c.parent);
    screen.exec();
}

template <class Screen>
void openList(const ScreenContext& c) {
    Screen screen(c.storeRoot, c.parent);
    screen.exec();
}

// The tally opens other screens (race result, race video) through the context.
void openShkMain(const ScreenContext& c) {
    TfrmShkMain screen(c);
    screen.exec();
}

constexpr ScreenEntry kScreens[] = {
    {"mnuSetUp", openModal<TfrmDataGet>},
    {"mnuSmbDtMk", openSmbDtMk},
    {"mnuKishuList", openList<TfrmKshList>},
    {"mnuChokyoList", openList<TfrmChoList>},
    {"mnuYosoSyukei", openShkMain},
};

}  // namespace

std::span<const ScreenEntry> screenRegistry() { return kScreens; }

}  // namespace tarvo
