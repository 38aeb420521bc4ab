// The newcomer statistics builder TfrmSmbDtMk ("新馬予想用補助データ作成"):
// counts the newcomer races of the chosen years into the statistics files,
// with a bar over the years, a bar over the files of the year in hand, the
// path of the file being counted, and a cancel button that stops the run
// before the next line, file or year.
#pragma once

#include <string>

#include "busy_dialog.h"
#include "newcomer_stats.h"
#include "shbmk_view.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvo {

class TfrmSmbDtMk : public BusyDialog, private NewcomerBuildView {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 473;
    static constexpr int kClientHeight = 183;

    // Counts the store below storeRoot into fileFolder + "shbdat/"; centred on the screen.
    TfrmSmbDtMk(const std::string& fileFolder, const std::string& storeRoot, QWidget* parent = nullptr);

private:
    void start();
    void setIdle(bool idle);

    // The run's view.
    void yearBar(int position, int maximum) override;
    void fileBar(int position, int maximum) override;
    void fileText(const std::string& path) override;
    void pump() override;

    std::string fileFolder_, storeRoot_;
    NewcomerProgress progress_;

    QProgressBar *ProgressBar0_ = nullptr, *ProgressBar1_ = nullptr;
    QLabel* StaticText1_ = nullptr;
    QComboBox *cboFrYear_ = nullptr, *cboToYear_ = nullptr;
    QPushButton *Button1_ = nullptr, *btnCancel_ = nullptr, *btnClose_ = nullptr;
};

}  // namespace tarvo
