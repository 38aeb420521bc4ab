// CP932 text at the Qt boundary.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tarvo {

// CP932 bytes to a QString.
QString qs(std::string_view cp932);
// A QString to CP932 bytes.
std::string sjs(const QString& text);

}  // namespace tarvo
