#include "qtext.h"

#include "cp932.h"

namespace tarvo {

QString qs(std::string_view cp932) { return QString::fromStdString(toUtf8(cp932)); }

std::string sjs(const QString& text) { return toCp932(text.toStdString()); }

}  // namespace tarvo
