// The training video list TfrmMvList: the week's training videos of a chosen
// date fetched through the data service, joined with the store; headings sort
// the list, a pop-up menu plays a video, double clicks open the horse or
// trainer data screen.
#pragma once

#include <QDialog>
#include <string>

#include "mvlist_view.h"
#include "screen_registry.h"

class QAction;
class QDateEdit;
class QLabel;
class QMenu;
class QPushButton;

namespace tarvo {

class Grid;

class TfrmMvList : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 775;
    static constexpr int kClientHeight = 480;

    explicit TfrmMvList(const ScreenContext& context);

    Grid* grid() const { return grid_; }
    const VideoSort& sortState() const { return list_.sort; }
    // "一覧取得": fetches the list of the chosen date's week.
    void fetch();
    // A double click on heading column.
    void sortBy(int column);
    // A double click on a data cell.
    void openRow(int row, int column);
    // The pop-up menu of a row with pmnPlayCHVTR (nullptr for no row); remembers the row's video key.
    QMenu* videoMenu(int row);
    // pmnPlayCHVTR: plays the remembered training video.
    void playVideo();
    void done(int result) override;

private:
    void showList();

    ScreenContext context_;
    VideoList list_;
    std::string videoKey_;
    QDateEdit* dtpChDate_ = nullptr;
    QPushButton *btnUpdList_ = nullptr, *btnClose_ = nullptr;
    QLabel *stxtMvNum_ = nullptr, *lblClNum_ = nullptr, *lblSrtAsc_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* pmnPlayCHVTR_ = nullptr;
    Grid* grid_ = nullptr;
};

}  // namespace tarvo
