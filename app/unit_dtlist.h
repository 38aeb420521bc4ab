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
class QTableWidget;

namespace tarvo {

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
    QTableWidget* grid() const { return stgRcDateList_; }

    // Chooses the date of a grid row: when its hidden date column reads as a
    // positive number, sets the picker, runs the date change and closes.
    void chooseRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildList();

    std::string storeRoot_;
    QDateEdit* picker_;
    std::function<void()> dateChange_;
    bool opening_ = true;

    QComboBox* cboYear_ = nullptr;
    QTableWidget* stgRcDateList_ = nullptr;
    QPushButton* btnClose_ = nullptr;
};

}  // namespace tarvo
