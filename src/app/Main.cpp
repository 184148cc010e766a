// camini: the windowed program. Creates the windows once, shows the main
// window and runs the event loop until it is closed.
//   camini [PROGETTO.CAM]
// A project named on the command line (as the desktop passes a file opened
// from the file manager) loads after the start-up, as "Leggi progetto" would.
#include "MainWindow.h"
#include "ProgramServices.h"
#include "ProgramWindows.h"
#include "QtText.h"
#include "common/ExecutableFolder.h"
#include "engine/Session.h"
#include "plot/Graphs.h"
#include "plot/PlotState.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("camini");
    // The toolkit's own texts (file dialogs, box buttons) in Italian too.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::Italian), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);

    camini::Session session(camini::executableFolder());
    camini::PlotState plot;
    camini::CurrentGraph currentGraph;
    camini::ProgramServices services;

    const camini::ProgramWindows windows =
        camini::createProgramWindows(session, plot, currentGraph, services, camini::localNow);
    camini::TForm1& form1 = *windows.main;
    // The toolkit has taken its own options out of the arguments.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        form1.openAfterStartUp(camini::nativePath(arguments.at(1)));

    // The window lays itself out over the whole screen when first shown; a
    // window manager then frames it over its work area.
    form1.show();
    form1.setWindowState(form1.windowState() | Qt::WindowMaximized);
    return app.exec();
}
