// The race result screen TfrmResult: a race's finishing order with the run
// indices and marks, its payouts, corner orders and sectional times; steps to
// the previous or next race of the meeting. Opened through openRaceResult.
#pragma once

#include <QDialog>
#include <functional>
#include <initializer_list>
#include <string>

#include "controls.h"
#include "result_view.h"
#include "screen_registry.h"
#include "store_paths.h"

class QAction;
class QLabel;
class QListWidget;
class QPushButton;

namespace tarvo {

class Grid;

class TfrmResult : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 769;
    static constexpr int kClientHeight = 475;

    // Reads the race and evaluates it under the opener tag's runner table.
    TfrmResult(const ScreenContext& context, const RaceKey& race, const std::string& openerTag);

    const RaceResult& shown() const { return result_; }
    Grid* grid() const { return stgRList_; }

    // 前 (step -1) and 次 (step +1).
    void stepRace(int step);
    // The double-click action of a data cell (row 0 the first runner).
    void cellAction(int row, int col);

private:
    void showRace(const RaceKey& race, std::string_view caller);

    ScreenContext context_;
    StorePaths paths_;
    std::string fileFolder_;
    RaceResult result_;
    Grid* stgRList_ = nullptr;
    QListWidget* lstHarai_ = nullptr;
    QPushButton *btnPrev_ = nullptr, *btnNext_ = nullptr, *btnVtr_ = nullptr;
    QAction* mnuBabaAdj_ = nullptr;
};

// Header labels of one line (by their rows) as wide as their texts, each moved
// after the one before it when a text came out wider than its place.
void lineUpLabels(QWidget* screen, std::initializer_list<const Control*> labels);

// Called when the result screen opened with "通常" shows final results, so the
// main window's "レース結果" button can show them as seen (normal font).
void setFinalResultsHook(std::function<void()> hook);

}  // namespace tarvo
