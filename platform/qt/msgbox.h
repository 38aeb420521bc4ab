// Every message box of the program goes through showMessage: the caption
// "TARVO Ver.2.00", the icon of its kind and an OK button. Tests install a sink
// that records the messages instead of showing them.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "message_kind.h"

class QWidget;

namespace tarvo {

// Shows a modal message box with CP932 text.
void showMessage(QWidget* parent, MessageKind kind, const std::string& cp932Text);

using MessageSink = std::function<void(MessageKind kind, const QString& caption, const QString& text)>;
// Replaces the message boxes by sink (an empty sink shows them again).
void setMessageSink(MessageSink sink);

}  // namespace tarvo
