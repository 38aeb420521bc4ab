// The track data maintenance screens: the adjustment of one race's track
// variant (TfrmBbAdj), the rebuild of all track data (TfrmBabaUpd) and the
// update of a period (TfrmBbUpdTm).
#pragma once

#include <string>

#include "bbadj_view.h"
#include "busy_dialog.h"
#include "race_key.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tarvo {

class TfrmBbAdj : public QDialog {
    Q_OBJECT

public:
    // Placed 200 pixels below and 110 right of the parent's top-left corner.
    TfrmBbAdj(const std::string& settingsPath, const std::string& storeRoot, const RaceKey& race,
              QWidget* parent = nullptr);

private:
    void update();

    std::string storeRoot_;
    RaceKey race_;
    QLineEdit *edtAdRw_ = nullptr, *edtAdLs_ = nullptr;
    QLabel *lblNowRw_ = nullptr, *lblNowLs_ = nullptr;
    QPushButton* btnUpd_ = nullptr;
};

// What the rebuild and period screens share: a progress bar that a one-second
// timer fills from the builder's progress, a cancel button, and a run frame.
class TrackBuildScreen : public BusyDialog, protected TrackBuildView {
    Q_OBJECT

protected:
    TrackBuildScreen(const std::string& settingsPath, const std::string& storeRoot, const char* title, int height,
                     QWidget* parent);
    // Locks the screen's controls, runs the builder, unlocks them and shows its outcome.
    template <class Build>
    void run(Build&& build);
    // The figure the timer copies into the bar.
    virtual int progressFigure() const = 0;
    virtual void setIdle(bool idle) = 0;

    void barMaximum(int maximum) override;
    void barEnd() override;
    void caption(const std::string& text) override;
    void pump() override;

    std::string settingsPath_, storeRoot_;
    BuilderProgress progress_;
    QProgressBar* bar_ = nullptr;
    QTimer* timer_ = nullptr;
};

class TfrmBabaUpd : public TrackBuildScreen {
    Q_OBJECT

public:
    TfrmBabaUpd(const std::string& settingsPath, const std::string& storeRoot, QWidget* parent = nullptr);

private:
    int progressFigure() const override { return progress_.raceCount; }
    void setIdle(bool idle) override;
    QPushButton *btnStart_ = nullptr, *btnCancel_ = nullptr, *btnClose_ = nullptr;
};

class TfrmBbUpdTm : public TrackBuildScreen {
    Q_OBJECT

public:
    TfrmBbUpdTm(const std::string& settingsPath, const std::string& storeRoot, QWidget* parent = nullptr);

private:
    int progressFigure() const override { return progress_.fileIndex; }
    void setIdle(bool idle) override;
    QDateEdit *dtpFrom_ = nullptr, *dtpTo_ = nullptr;
    QPushButton *btnUpd_ = nullptr, *btnCancel_ = nullptr, *btnClose_ = nullptr;
};

}  // namespace tarvo
