// The race search TfrmRceSch: criteria over the final race records, a scan of
// every RA file with progress and stop, and the matching races with their
// winners in a grid. Double clicks open the result or the winner's data; a
// right click offers the race's video.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "busy_dialog.h"
#include "screen_registry.h"
#include "search_view.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;

namespace tarvo {

class Grid;

class TfrmRceSch : public BusyDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 930;
    static constexpr int kClientHeight = 600;

    explicit TfrmRceSch(const ScreenContext& context);

    Grid* grid() const { return grid_; }
    RaceCriteria criteria() const;
    // "検索開始": scans the store with the criteria shown.
    void search();
    // "検索中止": the scan stops after the file in hand.
    void stop() { stopRequested_ = true; }
    // A double click on a cell.
    void openRow(int row, int column);
    // The pop-up menu of a row with its race video item pmnPlayVTR (nullptr for no row).
    QMenu* videoMenu(int row);
    // The item: plays the race video of the row.
    void playVideo(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setSearching(bool searching);

    ScreenContext context_;
    bool stopRequested_ = false;
    QDateEdit *dtpFromDate_ = nullptr, *dtpToDate_ = nullptr;
    QComboBox *cboCrs_ = nullptr, *cboFrom_ = nullptr, *cboTo_ = nullptr;
    QLineEdit* edtRName_ = nullptr;
    std::vector<QCheckBox*> ages_, classes_, surfaces_, sexes_, weights_, goings_;
    QPushButton *btnStart_ = nullptr, *btnCancel_ = nullptr, *btnClose_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* lblCount_ = nullptr;
    QMenu* menu_ = nullptr;
    std::vector<QWidget*> criteria_;
    std::vector<QLabel*> headings_;
    Grid* grid_ = nullptr;
};

}  // namespace tarvo
