#include <QApplication>
#include <string>

#include "japanese.h"
#include "jvlink_dialog.h"
#include "race_card.h"
#include "screen_registry.h"
#include "startup.h"
#include "unit_main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tarvo::useJapanese(app);
    std::string home;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QStringLiteral("--home")) home = args[i + 1].toStdString();
    tarvo::TfrmMain window(tarvo::resolveProgramFolder(home));
    if (!window.startupComplete()) return 1;
    tarvo::installJVLinkDesktop(&window);
    tarvo::installRaceCard(window);
    for (const tarvo::ScreenEntry& screen : tarvo::screenRegistry())
        window.setScreenOpener(QString::fromUtf8(screen.menuItem), [&window, open = screen.open] {
            open(window.screenContext());
        });
    window.show();
    return app.exec();
}
