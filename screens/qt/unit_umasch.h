// The horse search TfrmUmaSch: criteria over the horse records, a scan of
// every UM file with progress and stop, and the matching horses in a grid;
// a double click on a name opens the horse data screen.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

#include "busy_dialog.h"
#include "screen_registry.h"
#include "search_view.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tarvo {

class Grid;

class TfrmUmaSch : public BusyDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 850;
    static constexpr int kClientHeight = 600;

    explicit TfrmUmaSch(const ScreenContext& context);

    Grid* grid() const { return grid_; }
    HorseCriteria criteria() const;
    // "検索実行": scans the store with the criteria shown.
    void search();
    // "検索中止": the scan stops after the file in hand.
    void stop() { stopRequested_ = true; }
    // A double click on a cell.
    void openRow(int row, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setSearching(bool searching);

    ScreenContext context_;
    bool stopRequested_ = false;
    QLineEdit *edtNames_[4] = {}, *edtChokyo_ = nullptr, *edtBanushi_ = nullptr;
    QCheckBox *chkExact_[4] = {}, *chkSexes_[3] = {}, *chkGen_ = nullptr;
    QComboBox *cboFrom_ = nullptr, *cboTo_ = nullptr;
    QPushButton *btnStart_ = nullptr, *btnStop_ = nullptr, *btnClose_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* lblCount_ = nullptr;
    std::vector<QWidget*> criteria_;
    std::vector<QLabel*> headings_;
    Grid* grid_ = nullptr;
};

}  // namespace tarvo
