#include <QApplication>
#include <string>

#include "jvlink_dialog.h"
#include "startup.h"
#include "unit_dtget.h"
#include "unit_main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string home;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QStringLiteral("--home")) home = args[i + 1].toStdString();
    tarvo::TfrmMain window(tarvo::resolveProgramFolder(home));
    if (!window.startupComplete()) return 1;
    tarvo::installJVLinkDesktop(&window);
    window.setScreenOpener(QStringLiteral("mnuSetUp"), [&window] {
        tarvo::TfrmDataGet screen(window.state(), window.jvlink(), &window);
        screen.exec();
    });
    window.show();
    return app.exec();
}
