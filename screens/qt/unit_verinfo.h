// The version information screen TfrmVerInfo: the system's edition, the
// standard time tables' edition and the data service's version.
#pragma once

#include <QDialog>
#include <string>

namespace tarvo {

class TfrmVerInfo : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 305;
    static constexpr int kClientHeight = 164;

    // jvlinkVersion: the four-digit version text read at start-up.
    TfrmVerInfo(const std::string& jvlinkVersion, QWidget* parent = nullptr);
};

}  // namespace tarvo
