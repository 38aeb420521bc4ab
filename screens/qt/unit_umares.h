// The horse data screen TfrmUmaRes: a horse's profile and silks, every past
// run with its indices and the place counts by category. Opened through
// openHorseData (screen_links.h).
#pragma once

#include <QDialog>
#include <string>

#include "horse_view.h"
#include "screen_registry.h"

class QLabel;
class QMenu;
class QPushButton;

namespace tarvo {

class Grid;

class TfrmUmaRes : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 746;
    static constexpr int kClientHeight = 478;

    TfrmUmaRes(const ScreenContext& context, const HorseDataOpening& opening);

    const HorseData& data() const { return data_; }
    Grid* grid() const { return stgRc_rireki_; }
    QLabel* silks() const { return imgFuku_; }
    QMenu* videoMenu() const { return pmnPlayVTR_; }

    // A double click on a cell of the past-runs grid.
    void cellChosen(int row, int col);
    // The right click on a data row: the race video item for its race.
    void prepareVideoMenu(int row);
    // btnRewrite: the silks picture drawn again.
    void rewriteSilks();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSilks(bool redraw);
    void showRows();
    const HorseRun* runAt(int row) const;

    ScreenContext context_;
    HorseDataOpening opening_;
    HorseData data_;
    Grid* stgRc_rireki_ = nullptr;
    QLabel* imgFuku_ = nullptr;
    QPushButton* btnRewrite_ = nullptr;
    QMenu* pmnPlayVTR_ = nullptr;
    int menuRow_ = -1;
};

}  // namespace tarvo
