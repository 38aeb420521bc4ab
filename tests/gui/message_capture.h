// Helpers of the screen tests: message boxes recorded instead of shown, and
// a screen's controls found by object name.
#pragma once

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

#include "msgbox.h"

namespace tarvo::test {

struct Captured {
    MessageKind kind;
    QString text;
    bool operator==(const Captured& o) const { return kind == o.kind && text == o.text; }
};

// While it lives, every message box is recorded, its caption checked, instead of shown.
class MessageCapture {
public:
    MessageCapture() {
        setMessageSink([this](MessageKind k, const QString& caption, const QString& t) {
            EXPECT_EQ(caption, QStringLiteral("TARVO Ver.2.00"));
            messages.push_back({k, t});
        });
    }
    ~MessageCapture() { setMessageSink({}); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    std::vector<Captured> messages;
};

// The child control of w with that object name; a test failure when there is none.
template <class T>
T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

}  // namespace tarvo::test
