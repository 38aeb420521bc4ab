// The main window: start-up and shutdown, the menus, the left column and the
// race card area. Other screens are opened from its menu items through the
// openers the program installs (screens/qt/screen_registry.h).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "JVDTLabLib_TLB.h"
#include "race_list.h"
#include "screen_registry.h"
#include "startup.h"

class QAction;
class QDateEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace tarvo {

class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // Client area of the window, below the menu bar.
    static constexpr int kClientWidth = 991;
    static constexpr int kClientHeight = 659;

    // Creates the window and runs start-up for the program folder.
    explicit TfrmMain(const std::string& programFolder, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // False when start-up ended the program (after its message).
    bool startupComplete() const { return outcome_.complete; }
    const StartupOutcome& startupOutcome() const { return outcome_; }
    const AppState& state() const { return state_; }
    JVDTLabLib_TLB::IJVLink& jvlink() { return *jvlink_; }
    // What a screen opened from this window gets: settings, store, data service, modes.
    // The race video option as its menu item stands now (it is toggled while the program runs).
    ScreenContext screenContext();

    // The menu item or button with an object name (for screens and tests).
    QAction* action(const QString& objectName) const;

    // The opener of a menu item's screen; a menu item is enabled only once its
    // opener is installed (and the access mode allows it).
    void setScreenOpener(const QString& actionName, std::function<void()> opener);

    // The items that follow the shown race ("mnuOddsList", "mnuFileOut",
    // "mnuPdfOut"): usable only while the race allows it and their screen exists.
    void setRaceItemEnabled(const QString& actionName, bool enabled);

    // Shows the race card of a race list line (the race card view installs it;
    // until then choosing a race runs every other step of the selection).
    void setRaceShower(std::function<void(const std::string& raceLine)> shower);

    // The left column: the date picker's date change, the race selection of
    // the current list item, and the meeting dates list (btnDList).
    void dtpRcDateChange();
    void lstRaceClick();
    void openDateList();
    // Same-day flag of the listed date.
    bool sameDay() const { return sameDay_; }
    // The local graded race screen while it is open: the window closes it at shutdown.
    void setLocalGradedScreen(QWidget* screen);
    // Empties the header and figure labels, hides the cancellation label, sets
    // the progress bar to 0 and disables the odds list item.
    void clearHeader();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void runStartup();
    void applyStartupStates();
    void showSettingsDialog();
    void updateMenuStates();
    // Lists the races of the picker's date; sets and returns the same-day flag.
    bool listRaces();
    void setFetchButtons(Gate gate);
    // The race card area: the grid, the bet area, the page control and the silks strip.
    void hideRaceArea();
    void showRaceArea(bool withBets);
    void selectRace(const std::string& line);
    QPushButton* button(const char* name) const;

    QLabel* addLabel(const char* name, const char* caption, int left, int top, QWidget* parent = nullptr);

    AppState state_;
    std::unique_ptr<JVDTLabLib_TLB::IJVLink> jvlink_;
    StartupOutcome outcome_;
    bool fetchCancel_ = false;
    bool localGradedOpen_ = false;
    QPointer<QWidget> localGraded_;
    bool keyboardMove_ = false;  // a key press in the race list is being handled
    std::map<QString, std::function<void()>> openers_;
    std::map<QString, bool> raceItems_;
    std::function<void(const std::string&)> showRace_;
    bool sameDay_ = false;
    bool selecting_ = false;

    QWidget* client_ = nullptr;
    QDateEdit* dtpRcDate_ = nullptr;
    QListWidget* lstRace_ = nullptr;
    QTabWidget* pgcMain_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

}  // namespace tarvo
