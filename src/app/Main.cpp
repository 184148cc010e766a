// camini: the windowed program. Creates the windows once, shows the main
// window and runs the event loop until it is closed.
//   camini [PROGETTO.CAM]
// A project named on the command line (as the desktop passes a file opened
// from the file manager) loads after the start-up, as "Leggi progetto" would.
// --help and --version answer on the terminal without opening a display.
#include "MainWindow.h"
#include "ProgramServices.h"
#include "ProgramWindows.h"
#include "QtText.h"
#include "common/DataPlaces.h"
#include "common/Version.h"
#include "engine/Session.h"
#include "plot/Graphs.h"
#include "plot/PlotState.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>
#include <iostream>
#include <optional>

#ifndef CAMINI_APP_ID
#define CAMINI_APP_ID "camini"
#endif

namespace {

const char* const usage =
    "Uso: camini [PROGETTO.CAM]\n"
    "  o: camini --help | --version\n"
    "\n"
    "Calcolo termico della parete di un camino: apre la finestra dei dati con il\n"
    "progetto di esempio e, se \xC3\xA8 indicato, vi carica PROGETTO.CAM come fa\n"
    "\"Leggi progetto\".\n"
    "\n"
    "  PROGETTO.CAM  il progetto da caricare dopo l'avvio\n"
    "  --help        mostra questo aiuto\n"
    "  --version     mostra il nome e la versione del programma\n"
    "\n"
    "Accetta anche le opzioni di Qt, per esempio -platform offscreen.\n";

// The answer to --help or --version anywhere on the command line, before the
// toolkit looks for a display; nothing for a program to start.
std::optional<int> answerOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << usage << std::flush;
            return std::cout ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << camini::versionLine("camini") << "\n" << std::flush;
            return std::cout ? 0 : 1;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    if (auto status = answerOnTerminal(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName("camini");
    QApplication::setApplicationVersion(QString::fromUtf8(camini::ProgramVersion));
    // Ties the windows to the desktop entry (its name and icon on Wayland).
    QApplication::setDesktopFileName(QStringLiteral(CAMINI_APP_ID));
    // The toolkit's own texts (file dialogs, box buttons) in Italian too.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::Italian), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);

    camini::Session session(camini::processDataPlaces());
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
