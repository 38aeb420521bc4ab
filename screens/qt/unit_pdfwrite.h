// The race card PDF screen TfrmPdfWrite ("出馬表をPDF出力"): shows the race
// it writes, lets the user choose the output file (kept in the settings'
// FILE_OUT pdf_dir and pdf_sfile), and writes the race card PDF with a
// progress bar over the runners.
#pragma once

#include <string>

#include "busy_dialog.h"
#include "card_view.h"
#include "race_key.h"
#include "screen_registry.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tarvo {

class TfrmPdfWrite : public BusyDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 403;
    static constexpr int kClientHeight = 172;

    // The race shown on the race card, its card as built and the main window's runner table.
    TfrmPdfWrite(const ScreenContext& context, const RaceKey& race, const RaceCard& card);

private:
    void chooseFile();
    void write();
    void setIdle(bool idle);

    ScreenContext context_;
    RaceKey race_;
    const RaceCard& card_;
    QLineEdit* edtFileName_ = nullptr;
    QProgressBar* prgWrite_ = nullptr;
    QPushButton *btnFnSet_ = nullptr, *btnWrite_ = nullptr, *btnClose_ = nullptr;
};

// Opens the screen modally for the shown race (the main menu's "mnuPdfOut").
void openRaceCardPdf(const ScreenContext& context, const RaceKey& race, const RaceCard& card);

}  // namespace tarvo
