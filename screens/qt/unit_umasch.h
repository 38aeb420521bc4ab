// The horse search TfrmUmaSch: criteria over the horse records, a scan of
// every UM file with progress and stop, and the matching horses in a grid;
// a double click on a name opens the horse data screen.
#pragma once

#include "search_widgets.h"

class QCheckBox;
class QLineEdit;

namespace tarvo {

class TfrmUmaSch : public SearchDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 850;
    static constexpr int kClientHeight = 600;

    explicit TfrmUmaSch(const ScreenContext& context);

    HorseCriteria criteria() const;
    // "検索実行": scans the store with the criteria shown.
    void search() override;
    // Column 0 of a row whose KettoNum is a non-zero number opens the horse data screen.
    void openRow(int row, int column) override;

private:
    QLineEdit *edtNames_[4] = {}, *edtChokyo_ = nullptr, *edtBanushi_ = nullptr;
    QCheckBox *chkExact_[4] = {}, *chkSexes_[3] = {}, *chkGen_ = nullptr;
};

}  // namespace tarvo
