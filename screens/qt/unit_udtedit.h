// The race data editor TfrmUdtEdit: corrects the last 3F and corner positions
// of a stored local run in its SE record. Modal; opened through
// openRaceDataEditor from the horse data screen ("一覧") and the result
// screen ("結果"), which show the stored values again once it closes.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "local_raceedit.h"
#include "race_key.h"

class QLineEdit;

namespace tarvo {

class TfrmUdtEdit : public QDialog {
    Q_OBJECT

public:
    // The run of kettoNum in race; openerTag decides the name shown (race name or horse name).
    TfrmUdtEdit(const std::string& storeRoot, const RaceKey& race, const std::string& kettoNum,
                const std::string& openerTag, QWidget* parent);

    // "編集": writes the run and closes; the texts the opener's row shows afterwards.
    void edit();
    const RaceDataEdit& result() const { return result_; }

private:
    StorePaths paths_;
    RaceKey race_;
    std::string kettoNum_, jockey_;
    QLineEdit* seconds_ = nullptr;
    QLineEdit* tenths_ = nullptr;
    std::array<QLineEdit*, 3> positions_{};
    RaceDataEdit result_;
};

}  // namespace tarvo
