// The meeting dates list: the central meeting dates of a stored year with the
// main race of each track. Choosing a row sets the main window's date picker
// and runs its date change.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QDateEdit;
class QPushButton;

namespace tarvo {

class Grid;

class TfrmDtList : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 520;

    // picker is the main window's date picker, held while the screen is open;
    // dateChange runs once a chosen date has been set into it.
    TfrmDtList(const std::string& storeRoot, QDateEdit* picker, std::function<void()> dateChange,
               QWidget* parent = nullptr);

    QComboBox* years() const { return cboYear_; }
    Grid* grid() const { return stgRcDateList_; }

    // Chooses the date of a grid row: sets the picker, runs the date change and
    // closes; a row that stands for no date does nothing.
    void chooseRow(int row);

private:
    void buildList();

    std::string storeRoot_;
    QDateEdit* picker_;
    std::function<void()> dateChange_;

    QComboBox* cboYear_ = nullptr;
    Grid* stgRcDateList_ = nullptr;
    QPushButton* btnClose_ = nullptr;
};

}  // namespace tarvo
