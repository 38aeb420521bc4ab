// The jockey list TfrmKshList and the trainer list TfrmChoList: one list
// screen over the master records of a PersonKind, filtered by status,
// affiliation and name, sorted by clicking the headings above the grid.
// Double-clicking a name opens the person's data screen.
#pragma once

#include <QRadioButton>
#include <string>

#include "busy_dialog.h"
#include "person_view.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tarvo {

class Grid;

class TfrmPersonList : public BusyDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 744;
    static constexpr int kClientHeight = 560;

    Grid* grid() const { return grid_; }
    const PersonSort& sortState() const { return sort_; }
    // "再表示": reloads with the current filters and re-applies the sort.
    void reload();
    // A click on the heading label of that object name.
    void clickHeading(const QString& objectName);
    // Opens the data screen of a row when column is 0 and its code is a non-zero number.
    void openRow(int row, int column);

protected:
    TfrmPersonList(const PersonKind& kind, const std::string& storeRoot, QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSort();
    void setFiltersEnabled(bool enabled);

    const PersonKind& kind_;
    std::string storeRoot_;
    PersonSort sort_;
    std::vector<QLabel*> headings_;
    std::vector<QWidget*> filters_;
    QCheckBox *chkActive_ = nullptr, *chkRetired_ = nullptr, *chkAreas_[4] = {};
    QLineEdit* edtName_ = nullptr;
    QRadioButton *rbThisYear_ = nullptr, *rbLastYear_ = nullptr;
    QPushButton *btnUpdate_ = nullptr, *btnClose_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel *lblCount_ = nullptr, *lblSortFld_ = nullptr, *lblSortMae_ = nullptr, *lblSortJun_ = nullptr;
    Grid* grid_ = nullptr;
};

class TfrmKshList : public TfrmPersonList {
    Q_OBJECT
public:
    TfrmKshList(const std::string& storeRoot, QWidget* parent = nullptr) : TfrmPersonList(kJockeys, storeRoot, parent) {}
};

class TfrmChoList : public TfrmPersonList {
    Q_OBJECT
public:
    TfrmChoList(const std::string& storeRoot, QWidget* parent = nullptr) : TfrmPersonList(kTrainers, storeRoot, parent) {}
};

}  // namespace tarvo
