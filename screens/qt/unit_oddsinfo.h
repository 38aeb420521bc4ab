// The odds list TfrmOddsInfo: the stored odds of the main window's race as a
// matrix per bet type, paid combinations highlighted, the announcement time,
// the combination text of a selected cell, and "オッズ更新", which hands the
// update to the race card and shows the matrix anew.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "odds_view.h"
#include "screen_registry.h"
#include "store_paths.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tarvo {

class Grid;

// What the race card opens the odds list with.
struct OddsListOpening {
    RaceKey race;
    OddsLabels labels;                // the card's header labels
    std::vector<OddsRunner> runners;  // the card's rows
    bool updateEnabled = false;       // the main window's btnOddsGet
    // The card's odds update (fetch, marks, bets); returns whether the race is now odds-final.
    std::function<bool()> updateOdds;
};

class TfrmOddsInfo : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 880;
    static constexpr int kClientHeight = 530;

    TfrmOddsInfo(const ScreenContext& context, OddsListOpening opening);
    ~TfrmOddsInfo() override;

    Grid* grid() const { return stgOddsList_; }
    const OddsMatrix& matrix() const { return matrix_; }
    void chooseType(OddsType type);
    void selectCell(int row, int col);  // grid coordinates (row 0 the first data row)
    void updateOdds();

private:
    void build();
    int fixedHorse() const;

    StorePaths paths_;
    OddsListOpening opening_;
    OddsType type_ = OddsType::Umaren;
    OddsMatrix matrix_;
    std::vector<std::string> headers_;  // UTF-8 column headers the grid columns point into
    std::vector<struct GridColumn> columns_;
    Grid* stgOddsList_ = nullptr;
    QComboBox* cboTarget_ = nullptr;
    QPushButton* btnOddsUpd_ = nullptr;
    QLabel *stxtOddsDate_ = nullptr, *stxtKumi_ = nullptr;
    std::vector<QRadioButton*> types_;
};

// Opens the odds list modally, placed from the main window (context.parent).
void openOddsList(const ScreenContext& context, OddsListOpening opening);

}  // namespace tarvo
