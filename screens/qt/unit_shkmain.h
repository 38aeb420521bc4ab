// The prediction results tally TfrmShkMain ("予想結果の集計"): the period,
// filters, bet type and predictor; "集計開始" tallies with the progress text
// and bar and a cancel button that stops before the next record; the figures
// and the five lists, each written as CSV from the menu; a double click on a
// race opens its result, the right button its race video.
#pragma once

#include <string>
#include <vector>

#include "busy_dialog.h"
#include "grid.h"
#include "screen_registry.h"
#include "tally_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QAction;

namespace tarvo {

class TfrmShkMain : public BusyDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 590;

    explicit TfrmShkMain(const ScreenContext& context);

    // Tallies with the inputs as they stand ("集計開始").
    void start();
    // Writes the list of the tab in front to path and remembers it in the settings.
    void writeCsv(const std::string& path);
    // The inputs as the screen reads them.
    TallyOptions options() const;
    const ScreenView& view() const { return view_; }

private:
    void fillMonthDays(QComboBox* year, QComboBox* mday);
    void setInputsEnabled(bool enabled);
    void showView();
    void chooseCsvFile();
    void openRace(int row);
    void videoPopup(const QPoint& pos);

    ScreenContext context_;
    ScreenView view_;
    bool cancel_ = false;
    bool opening_ = true;

    QComboBox *cboFrYear_ = nullptr, *cboFrMday_ = nullptr, *cboToYear_ = nullptr, *cboToMday_ = nullptr;
    QComboBox *cboCrs_ = nullptr, *cboFrom_ = nullptr, *cboTo_ = nullptr;
    QLabel *stxtExec_ = nullptr, *lbl_rate_ = nullptr;
    std::vector<QCheckBox*> classes_, ages_, surfaces_, goings_;
    QRadioButton *rbtnTansho_ = nullptr, *rbtnUmaRen_ = nullptr, *rbtnUmaTan_ = nullptr;
    QRadioButton *rbtnCPU_ = nullptr, *rbtnUSR_ = nullptr;
    QPushButton *btnStart_ = nullptr, *btnCancel_ = nullptr, *btnExit_ = nullptr;
    QProgressBar* prgExec_ = nullptr;
    QTabWidget* pgcList_ = nullptr;
    std::vector<Grid*> grids_;
    QAction* mnuCsvOut_ = nullptr;
};

}  // namespace tarvo
