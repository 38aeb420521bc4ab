// A modal screen that runs a long loop on the user-interface thread (letting
// window messages through) and must not close while it runs: Escape, the
// window's close button and reject() do nothing until the loop has ended.
#pragma once

#include <QCloseEvent>
#include <QDialog>

namespace tarvo {

class BusyDialog : public QDialog {
public:
    using QDialog::QDialog;

    bool running() const { return running_; }
    void reject() override {
        if (!running_) QDialog::reject();
    }

protected:
    void setRunning(bool running) { running_ = running; }
    void closeEvent(QCloseEvent* event) override {
        if (running_)
            event->ignore();
        else
            QDialog::closeEvent(event);
    }

private:
    bool running_ = false;
};

}  // namespace tarvo
