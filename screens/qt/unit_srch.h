// The local graded race prediction TfrmSrch: the horse search, the entry grid
// of the provisional race card, its file, and "出走表登録", which hands the card
// to the main window's race card. Not modal; at most one instance.
#pragma once

#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "local_card.h"
#include "screen_registry.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace tarvo {

class Grid;

// Puts a composed card into the main window's race card.
using LocalCardRegister = std::function<void(const LocalRaceHeader& header, const std::vector<EntryRow>& rows)>;

class TfrmSrch : public QMainWindow {
    Q_OBJECT

public:
    TfrmSrch(const ScreenContext& context, LocalCardRegister registerCard);

    // The screen's state (for tests).
    const LocalEntry& entry() const { return entry_; }
    LocalRaceHeader header() const;
    // Opens or saves a file without the dialogs.
    void openFile(const std::string& path);
    void saveFile(const std::string& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void search();
    void add();
    void remove();
    void editRunner();
    void registerCard();
    void chooseOpenFile();
    void chooseSaveFile();
    void gridDoubleClick(int row, int column);
    void resultDoubleClick();
    void storeFileKeys(const std::string& path);
    std::string startFolder(bool forOpen) const;
    void refresh();
    void setBusy(bool busy);
    std::string raceDate() const;

    ScreenContext context_;
    LocalCardRegister register_;
    LocalEntry entry_;

    QLineEdit* edtHsName_ = nullptr;
    QComboBox* cboAge_ = nullptr;
    QPushButton* btnSrch_ = nullptr;
    QListWidget* lstSchResult_ = nullptr;
    QLabel* lblNum_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QComboBox* cboNum_ = nullptr;
    QComboBox* cboWgt_ = nullptr;
    QDateEdit* dtpRaceDate_ = nullptr;
    QLineEdit* edtTName_ = nullptr;
    QComboBox* cboDist_ = nullptr;
    QLineEdit* edtRName_ = nullptr;
    Grid* stgUmaList_ = nullptr;
    std::vector<QWidget*> busyControls_;
};

// Opens the screen, or brings the open one to the front; returns it.
TfrmSrch* openLocalPrediction(const ScreenContext& context, LocalCardRegister registerCard);

}  // namespace tarvo
