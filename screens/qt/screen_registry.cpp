#include "screen_registry.h"

#include "fsys.h"
#include "unit_bbadj.h"
#include "unit_dtget.h"
#include "unit_kshlist.h"
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
void openStoreScreen(const ScreenContext& c) {
    Screen screen(c.settingsPath, c.storeRoot, c.parent);
    screen.exec();
}

template <class Screen>
void openList(const ScreenContext& c) {
    Screen screen(c.storeRoot, c.parent);
    screen.exec();
}

constexpr ScreenEntry kScreens[] = {
    {"mnuSetUp", openModal<TfrmDataGet>},
    {"mnuSmbDtMk", openSmbDtMk},
    {"mnuBabaRemake", openStoreScreen<TfrmBabaUpd>},
    {"mnuBabaUpd", openStoreScreen<TfrmBbUpdTm>},
    {"mnuKishuList", openList<TfrmKshList>},
    {"mnuChokyoList", openList<TfrmChoList>},
};

}  // namespace

std::span<const ScreenEntry> screenRegistry() { return kScreens; }

}  // namespace tarvo
