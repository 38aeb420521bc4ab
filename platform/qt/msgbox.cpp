#include "msgbox.h"

#include <QMessageBox>

#include "qtext.h"

namespace tarvo {
namespace {

MessageSink& sink() {
    static MessageSink s;
    return s;
}

}  // namespace

void setMessageSink(MessageSink s) { sink() = std::move(s); }

void showMessage(QWidget* parent, MessageKind kind, const std::string& cp932Text) {
    const QString caption = QStringLiteral("TARVO Ver.2.00");
    const QString text = qs(cp932Text);
    if (sink()) {
        sink()(kind, caption, text);
        return;
    }
    const QMessageBox::Icon icon = kind == MessageKind::Error         ? QMessageBox::Critical
                                   : kind == MessageKind::Information ? QMessageBox::Information
                                                                  : QMessageBox::Warning;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace tarvo
