#include "screen_registry.h"

#include "fsys.h"
#include "unit_bbadj.h"
#include "unit_dtget.h"
#include "unit_kshlist.h"
#include "unit_shkmain.h"
#include "unit_mvlist.h"
#include "unit_rcesch.h"
#include "unit_smbdtmk.h"
#include "unit_umasch.h"
#include "unit_verinfo.h"

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

// Screens made from the context alone (they open other screens through it).
template <class Screen>
void openWithContext(const ScreenContext& c) {
    Screen screen(c);
    screen.exec();
}

void openVersion(const ScreenContext& c) {
    TfrmVerInfo screen(c.jvlink.m_JVLinkVersion(), c.parent);
    screen.exec();
}

constexpr ScreenEntry kScreens[] = {
    {"mnuSetUp", openModal<TfrmDataGet>},
    {"mnuSmbDtMk", openSmbDtMk},
    {"mnuBabaRemake", openStoreScreen<TfrmBabaUpd>},
    {"mnuBabaUpd", openStoreScreen<TfrmBbUpdTm>},
    {"mnuKishuList", openList<TfrmKshList>},
    {"mnuChokyoList", openList<TfrmChoList>},
    {"mnuYosoSyukei", openWithContext<TfrmShkMain>},
    {"mnuUmaSrch", openWithContext<TfrmUmaSch>},
    {"mnuRaceSrch", openWithContext<TfrmRceSch>},
    {"mnuTrainVideo", openWithContext<TfrmMvList>},
    {"mnuVersion", openVersion},
};

}  // namespace

std::span<const ScreenEntry> screenRegistry() { return kScreens; }

}  // namespace tarvo
