// The screens name the Japanese font families "ＭＳ Ｐゴシック" (proportional)
// and "ＭＳ ゴシック" (fixed); they are drawn with metric-compatible fonts.
#pragma once

#include <QFont>

namespace tarvo {

// Registers the substitutions once per process.
void installFontSubstitutions();

// The proportional and the fixed family at a pixel size.
QFont pGothic(int pixelSize, bool bold = false);
QFont gothic(int pixelSize, bool bold = false);

}  // namespace tarvo
