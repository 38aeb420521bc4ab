// The race search TfrmRceSch: criteria over the final race records, a scan of
// every RA file with progress and stop, and the matching races with their
// winners in a grid. Double clicks open the result or the winner's data; a
// right click offers the race's video.
#pragma once

#include "search_widgets.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QMenu;

namespace tarvo {

class TfrmRceSch : public SearchDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 930;
    static constexpr int kClientHeight = 600;

    explicit TfrmRceSch(const ScreenContext& context);

    RaceCriteria criteria() const;
    // "検索開始": scans the store with the criteria shown.
    void search() override;
    // The race name opens the result screen, the winner the horse data screen.
    void openRow(int row, int column) override;
    // The pop-up menu of a row with its race video item pmnPlayVTR (nullptr for no row).
    QMenu* videoMenu(int row);
    // The item: plays the race video of the row.
    void playVideo(int row);

private:
    QDateEdit *dtpFromDate_ = nullptr, *dtpToDate_ = nullptr;
    QComboBox* cboCrs_ = nullptr;
    QLineEdit* edtRName_ = nullptr;
    std::vector<QCheckBox*> ages_, classes_, surfaces_, sexes_, weights_, goings_;
    QMenu* menu_ = nullptr;
};

}  // namespace tarvo
