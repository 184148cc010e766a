// camini-calc: the batch calculator. Starts from the example project of the
// windowed program, loads a project over it when one is named, runs the
// calculate operation and prints the report.
#include "common/Clock.h"
#include "common/Cp1252.h"
#include "common/ExecutableFolder.h"
#include "common/FileError.h"
#include "common/Messages.h"
#include "common/NumberReader.h"
#include "common/TextFile.h"
#include "engine/Calculation.h"
#include "engine/Report.h"
#include "engine/RtfWriter.h"
#include "engine/Session.h"
#include "forms/MainActions.h"
#include "forms/ProjectFile.h"
#include "plot/GraphSvg.h"
#include "plot/Graphs.h"

#include <iostream>
#include <optional>
#include <string>

using namespace camini;

namespace {

const char* const usage =
    "Uso: camini-calc [--data-dir CARTELLA] [--single-wall] [--raise-diameter]\n"
    "                 [--rtf FILE] [--svg FILE] [--lambda-svg N FILE] [PROGETTO.CAM]\n"
    "\n"
    "Calcola la parete del camino del progetto di esempio, o di PROGETTO.CAM\n"
    "caricato sopra di esso, e stampa la relazione dei risultati.\n"
    "\n"
    "  --data-dir CARTELLA  cartella di materiali.TXT (di norma quella del programma)\n"
    "  --single-wall        spunta \"Monoparete\" prima di caricare il progetto\n"
    "  --raise-diameter     spunta \"D>=200\" prima di caricare il progetto\n"
    "  --rtf FILE           scrive anche la relazione in formato RTF in FILE\n"
    "  --svg FILE           scrive il grafico del profilo di temperatura in SVG\n"
    "  --lambda-svg N FILE  scrive il grafico della conducibilit\xC3\xA0 del materiale N in SVG\n"
    "  --help               mostra questo aiuto\n"
    "\n"
    "Uscita: 0 riuscito, 1 file non leggibile o non scrivibile, 2 uso errato,\n"
    "3 calcolo interrotto.\n";

// Messages of the system go to standard error, one line each.
class TerminalMessages : public Messages {
public:
    void message(const std::string& text) override { std::cerr << toUtf8(text) << "\n"; }
    void error(const std::string& text) override { std::cerr << toUtf8(text) << "\n"; }
};

struct Options {
    std::string dataDir;
    bool singleWall = false;
    bool raiseDiameter = false;
    std::optional<std::string> rtf;
    std::optional<std::string> project;
    std::optional<std::string> svg;
    std::optional<std::pair<int, std::string>> lambdaSvg;
};

// Parses the command line; returns an exit status when the program must stop.
std::optional<int> parse(int argc, char** argv, Options& o) {
    auto fail = [](const std::string& why) {
        std::cerr << "camini-calc: " << why << "\n\n" << usage;
        return std::optional<int>(2);
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            std::cout << usage;
            return 0;
        } else if (a == "--data-dir") {
            if (!value(o.dataDir))
                return fail("manca la cartella dopo --data-dir");
        } else if (a == "--single-wall") {
            o.singleWall = true;
        } else if (a == "--raise-diameter") {
            o.raiseDiameter = true;
        } else if (a == "--rtf") {
            std::string f;
            if (!value(f))
                return fail("manca il file dopo --rtf");
            o.rtf = f;
        } else if (a == "--svg") {
            std::string f;
            if (!value(f))
                return fail("manca il file dopo --svg");
            o.svg = f;
        } else if (a == "--lambda-svg") {
            std::string n, f;
            if (!value(n) || !value(f))
                return fail("--lambda-svg vuole il numero del materiale e il file");
            const auto m = readNumberStrict(n);
            if (!m || *m != static_cast<int>(*m) || *m < 1 || *m > MaxMaterials)
                return fail("numero di materiale non valido (1..100): " + n);
            o.lambdaSvg = std::make_pair(static_cast<int>(*m), f);
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return fail("opzione sconosciuta: " + a);
        } else if (o.project) {
            return fail("un solo progetto alla volta");
        } else {
            o.project = a;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    Options opt;
    opt.dataDir = executableFolder();
    if (auto status = parse(argc, argv, opt))
        return *status;

    TerminalMessages messages;
    Session session(opt.dataDir);
    try {
        // The window's start-up, without the size catalogue (only the
        // window's size list reads it), stopping at a file that cannot be read.
        startUp(session, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
        session.sheet.singleWall = opt.singleWall;
        session.sheet.raiseSmallDiameter = opt.raiseDiameter;
        if (opt.project)
            loadSessionProject(session, *opt.project, messages);
    } catch (const FileError& e) {
        std::cerr << "camini-calc: " << e.what() << "\n";
        return 1;
    }

    if (!calculate(session, messages))
        return 3;
    buildReport(session, messages, localNow);
    std::string out;
    for (const auto& p : session.viewer.paragraphs) {
        out += toUtf8(p);
        out += '\n';
    }
    std::cout << out << std::flush;

    // The graphs come after the report: drawing the conductivity graph makes
    // its material the insulation material.
    try {
        if (opt.rtf)
            saveRtf(session.viewer, *opt.rtf);
        PlotState plot;
        if (opt.svg)
            replaceFileSafely(*opt.svg, graphSvg(plot, makeProfileGraph(session), messages));
        if (opt.lambdaSvg) {
            session.sheet.graphMaterial = static_cast<std::uint8_t>(opt.lambdaSvg->first);
            replaceFileSafely(opt.lambdaSvg->second,
                              graphSvg(plot, makeConductivityGraph(session), messages));
        }
    } catch (const FileError& e) {
        std::cerr << "camini-calc: " << e.what() << "\n";
        return 1;
    }
    return std::cout ? 0 : 1;
}
