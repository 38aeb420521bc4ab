#include "fonts.h"

#include <QStringList>

namespace tarvo {
namespace {

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString kGothic = QStringLiteral("ＭＳ ゴシック");

QFont make(const QString& family, int pixelSize, bool bold) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace

void installFontSubstitutions() {
    QFont::insertSubstitutions(kPGothic, QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic")});
    QFont::insertSubstitutions(kGothic, QStringList{QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic")});
}

QFont pGothic(int pixelSize, bool bold) { return make(kPGothic, pixelSize, bold); }
QFont gothic(int pixelSize, bool bold) { return make(kGothic, pixelSize, bold); }

}  // namespace tarvo
