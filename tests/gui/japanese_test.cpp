// The program speaks Japanese whatever the system's locale.
#include <QCoreApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <gtest/gtest.h>

#include "japanese.h"

namespace tarvo {
namespace {

TEST(Japanese, DatesAndQtsOwnButtonsReadJapanese) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const bool translated = useJapanese(*QCoreApplication::instance());
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    EXPECT_EQ(QLocale().toString(QDate(2024, 6, 2), QStringLiteral("dddd M月")), QStringLiteral("日曜日 6月"));

    const QString catalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm");
    EXPECT_EQ(translated, QFile::exists(catalogue));
    if (!translated) GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n): " << catalogue.toStdString();
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

}  // namespace
}  // namespace tarvo
