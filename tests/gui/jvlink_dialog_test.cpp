#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include "inifile.h"
#include "jvlink_dialog.h"
#include "jvlink_emu.h"
#include "qtext.h"
#include "test_support.h"

namespace tarvo {
namespace {

// Edits the open settings dialog and accepts or rejects it.
void answerDialog(const QString& source, const QString& rate, bool accept) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("JV-Linkの設定"));
        dialog->findChild<QLineEdit*>(QStringLiteral("edtSource"))->setText(source);
        dialog->findChild<QLineEdit*>(QStringLiteral("edtRate"))->setText(rate);
        accept ? dialog->accept() : dialog->reject();
    });
}

TEST(JVLinkDialog, SettingsDialogWritesTheEmulatorsSettingsOnlyWhenAccepted) {
    test::TempDir home;
    installJVLinkDesktop(nullptr);
    JVLinkEmulator jv(home.path());
    answerDialog(QStringLiteral("/srv/ソース"), QStringLiteral("3"), true);
    EXPECT_EQ(jv.JVSetUIProperties(), 0);
    const IniFile ini(jv.settingsPath());
    EXPECT_EQ(ini.read("JVLINK", "source"), sj("/srv/ソース"));
    EXPECT_EQ(ini.read("JVLINK", "rate"), "3");
    EXPECT_EQ(ini.read("JVLINK", "version"), "0490");

    answerDialog(QStringLiteral("/elsewhere"), QStringLiteral("9"), false);
    EXPECT_EQ(jv.JVSetUIProperties(), -1);
    EXPECT_EQ(ini.read("JVLINK", "source"), sj("/srv/ソース"));
    JVLinkEmulator::setSettingsDialog({});
    JVLinkEmulator::setMediaOpener({});
}

TEST(JVLinkDialog, DefaultSourceShowsTheFolderItStandsForAndStaysTheDefault) {
    test::TempDir home;
    installJVLinkDesktop(nullptr);
    JVLinkEmulator jv(home.path());
    QString shown;
    const auto acceptWithSource = [&](const QString* edited) {
        QTimer::singleShot(0, [&shown, edited] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* source = dialog->findChild<QLineEdit*>(QStringLiteral("edtSource"));
            shown = source->text();
            if (edited) source->setText(*edited);
            dialog->accept();
        });
        return jv.JVSetUIProperties();
    };
    const IniFile ini(jv.settingsPath());
    EXPECT_EQ(acceptWithSource(nullptr), 0);
    EXPECT_EQ(shown, qs(home.path() + "jvlink-source/"));
    EXPECT_EQ(ini.read("JVLINK", "source"), "");  // accepted unedited: still the default

    const QString other = qs(home.path() + "world");
    EXPECT_EQ(acceptWithSource(&other), 0);
    EXPECT_EQ(ini.read("JVLINK", "source"), sjs(other));
    EXPECT_EQ(acceptWithSource(nullptr), 0);
    EXPECT_EQ(shown, other);  // a folder of its own shows as it is
    EXPECT_EQ(ini.read("JVLINK", "source"), sjs(other));
    JVLinkEmulator::setSettingsDialog({});
    JVLinkEmulator::setMediaOpener({});
}

}  // namespace
}  // namespace tarvo
