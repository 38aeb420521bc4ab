// The frame the two search screens share: criteria controls made by each
// screen, then the start, stop and close buttons, the progress bar, the count,
// the heading labels and the result grid; a scan runs with the criteria
// disabled and can be stopped between files.
#pragma once

#include <QComboBox>
#include <functional>
#include <span>
#include <vector>

#include "busy_dialog.h"
#include "controls.h"
#include "grid.h"
#include "screen_registry.h"
#include "search_view.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvo {

// An editable box of numbers that takes digits, "&" and "(" only; current is shown.
QComboBox* makeNumberBox(QWidget* parent, const Control& c, const std::vector<int>& choices, int current);
// The number in the box, or def when it holds none.
int boxNumber(const QComboBox* box, int def);

class SearchDialog : public BusyDialog {
public:
    Grid* grid() const { return grid_; }
    // The start button, or Enter in a criterion control.
    virtual void search() = 0;
    // The stop button: the scan stops after the file in hand.
    void stop() { stopRequested_ = true; }
    // A double click on a cell.
    virtual void openRow(int row, int column) = 0;

protected:
    struct Frame {
        Control start, stop, close, progress, count;
        const char* gridName;
        std::span<const GridColumn> columns;
        QRect grid;
        int headingTop;
        const std::vector<SearchHeading>& headings;
    };
    SearchDialog(const ScreenContext& context, const char* objectName, int width, int height);
    // Made after the criteria controls; the caption and the count are the view's.
    void makeFrame(const Frame& f, const ScreenView& view);
    // Runs a scan: criteria disabled, stop enabled, headings and grid hidden; then the rows and their count.
    void runScan(const std::function<SearchResult(const ScanProgress&)>& scan);
    // Enter in a number box moves to the next control, in another criterion it starts a search.
    bool eventFilter(QObject* watched, QEvent* event) override;

    ScreenContext context_;
    std::vector<QWidget*> criteria_;  // the controls a scan disables and Enter starts from
    QComboBox *cboFrom_ = nullptr, *cboTo_ = nullptr;  // the range's number boxes

private:
    void setSearching(bool searching);

    bool stopRequested_ = false;
    QPushButton *btnStart_ = nullptr, *btnStop_ = nullptr, *btnClose_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* lblCount_ = nullptr;
    std::vector<QLabel*> headings_;
    Grid* grid_ = nullptr;
};

}  // namespace tarvo
