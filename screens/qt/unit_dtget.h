// The registration screen TfrmDataGet ("JRA-VANデータ登録"): chooses a setup
// or a usual run, runs it, and shows its progress per data spec, its download
// and reading bars, the file and record in hand and the message list. The run
// itself is RegistrationRun; this screen is its view.
#pragma once

#include <array>
#include <memory>

#include "JVDTLabLib_TLB.h"
#include "busy_dialog.h"
#include "registration.h"
#include "view_cells.h"

class QAction;
class QDateEdit;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tarvo {

class TfrmDataGet : public BusyDialog, private RegistrationView {
    Q_OBJECT

public:
    // Runs into the store below storeRoot with the settings file settingsPath;
    // placed at the parent's top + 80 and left + 100.
    TfrmDataGet(const std::string& settingsPath, const std::string& storeRoot, JVDTLabLib_TLB::IJVLink& jvlink,
                QWidget* parent = nullptr);
    ~TfrmDataGet() override;

private:
    void buildControls();
    void startRun();
    void toggleLockOff(bool checked);
    void showStatus(int group, const ViewCell& status, const std::string& count);

    // The run's view.
    void status(int group, const std::string& text, StatusColour colour, const std::string& count) override;
    void startTime(int group, const std::string& text) override;
    void endTime(int group, const std::string& text) override;
    void readText(const std::string& text) override;
    void execText(const std::string& text) override;
    void downloadBar(int position, int maximum) override;
    void downloadLabel(const std::string& text) override;
    void readBar(int position, int maximum) override;
    void readLabel(const std::string& text) override;
    void clearMessageList() override;
    void messageLine(const std::string& line) override;
    void message(MessageKind kind, const std::string& text) override;
    void downloadTimer(bool enabled) override;
    void trackTimer(bool enabled) override;
    void pump() override;
    void idle() override;

    std::unique_ptr<RegistrationRun> run_;

    struct Group {
        QLabel *sts = nullptr, *start = nullptr, *end = nullptr, *cnt = nullptr;
    };
    std::array<Group, 5> groups_{};
    QRadioButton *rbtnUsual_ = nullptr, *rbtnSetup_ = nullptr;
    QDateEdit* dtpStartDate_ = nullptr;
    QAction* mnuLockOff_ = nullptr;
    QProgressBar *prgDownload_ = nullptr, *prgJVRead_ = nullptr;
    QLabel *lblDownload_ = nullptr, *lblRead_ = nullptr, *stxtRead_ = nullptr, *stxtExec_ = nullptr;
    QListWidget* lstmsg_ = nullptr;
    QPushButton *btnDataAdd_ = nullptr, *btnCancel_ = nullptr, *btnClose_ = nullptr;
    QTimer *tmrDownload_ = nullptr, *tmrBBdt_ = nullptr;
};

}  // namespace tarvo
