// The conversion screen TfrmDataConv ("新形式データの変換処理 (TARVO)"): brings
// an old-format store up to date and rewrites it in the new format, with a
// message memo, a bar over the steps, a bar over the step in hand and a
// cancel button. It has no close box and closes only through "閉じる".
#pragma once

#include <string>

#include "busy_dialog.h"
#include "conversion.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tarvo {

class TfrmDataConv : public BusyDialog, private ConversionView {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 505;
    static constexpr int kClientHeight = 383;

    TfrmDataConv(const std::string& settingsPath, const std::string& storeRoot, JVDTLabLib_TLB::IJVLink& jvlink,
                 QWidget* parent = nullptr);

    // Set when a run ended with no old-format file left.
    bool conversionCompleted() const { return completed_; }

private:
    void execute();

    void labels(const std::string& label1, const std::string& label2, bool blue) override;
    void memoLine(const std::string& line) override;
    void overallBar(int position, int maximum) override;
    void stepBar(int position, int maximum) override;
    void message(MessageKind kind, const std::string& text) override;
    void runningChanged(bool on) override;
    void completed() override;
    void pump() override;
    void idle() override;

    std::string settingsPath_, storeRoot_;
    JVDTLabLib_TLB::IJVLink& jvlink_;
    ConversionRun* run_ = nullptr;
    bool completed_ = false;

    QLabel *Label1_ = nullptr, *Label2_ = nullptr;
    QPlainTextEdit* mem_Msg_ = nullptr;
    QProgressBar *pgb_DataDone_ = nullptr, *pgb_FileExc_ = nullptr;
    QPushButton *btnExec_ = nullptr, *btnCancel_ = nullptr, *btnClose_ = nullptr;
};

// Start-up's conversion check: with old-format files in the store, the
// notice, the conversion screen and, when the store is still not converted,
// the closing message. False (the conversion completed flag clear) when the
// program must end.
bool checkConversion(const std::string& settingsPath, const std::string& storeRoot, JVDTLabLib_TLB::IJVLink& jvlink,
                     QWidget* parent);

}  // namespace tarvo
