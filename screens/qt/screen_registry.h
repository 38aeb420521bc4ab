// The screens the main window's menu items open: one row per screen, {menu
// item object name, opener}. A menu item is enabled once it has a row.
#pragma once

#include <span>
#include <string>

#include "JVDTLabLib_TLB.h"

class QWidget;

namespace tarvo {

// What an opener gets from the main window.
struct ScreenContext {
    std::string settingsPath;  // the settings file tarvo.ini
    std::string storeRoot;
    JVDTLabLib_TLB::IJVLink& jvlink;
    QWidget* parent;  // the main window, or the screen that opens another
    bool readOnly = false;   // access mode "禁止": nothing is fetched or written
    bool raceVideo = false;  // the race video option (mnuOptRViewer) is on
};

struct ScreenEntry {
    const char* menuItem;
    void (*open)(const ScreenContext& context);  // shows the screen modally
};

std::span<const ScreenEntry> screenRegistry();

}  // namespace tarvo
