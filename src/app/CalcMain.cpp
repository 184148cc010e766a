// camini-calc: the batch calculator. Starts from the example project of the
// windowed program, loads a project over it when one is named, runs the
// calculate operation and prints the report; or writes the calculation as
// JSON, sweeps one input over a range of values, or searches the smallest
// thickness of a layer for a flue-gas temperature.
#include "batch/CalculationJson.h"
#include "batch/ReportPdf.h"
#include "batch/Sweep.h"
#include "common/Clock.h"
#include "common/Cp1252.h"
#include "common/DataPlaces.h"
#include "common/FileError.h"
#include "common/Messages.h"
#include "common/NumberReader.h"
#include "common/TextFile.h"
#include "common/Version.h"
#include "engine/Calculation.h"
#include "engine/Report.h"
#include "engine/RtfWriter.h"
#include "engine/Session.h"
#include "forms/MainActions.h"
#include "forms/ProjectFile.h"
#include "plot/GraphSvg.h"
#include "plot/Graphs.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace camini;

namespace {

const char* const usageHead =
    "Uso: camini-calc [opzioni] [PROGETTO.CAM]\n"
    "  o: camini-calc [opzioni] --sweep RIGA=DA:A:PASSO [--json FILE] [PROGETTO.CAM]\n"
    "  o: camini-calc [opzioni] --min-thickness RIGA --flue T [PROGETTO.CAM]\n"
    "  o: camini-calc --help | --version\n"
    "\n"
    "Calcola la parete del camino del progetto di esempio, o di PROGETTO.CAM\n"
    "caricato sopra di esso, e stampa la relazione dei risultati.\n"
    "\n"
    "  --data-dir CARTELLA  cartella di materiali.TXT (di norma quella del programma;\n"
    "                       installato, l'archivio dell'utente se c'\xC3\xA8, se no quello\n"
    "                       fornito)\n"
    "  --single-wall        spunta \"Monoparete\" prima di caricare il progetto\n"
    "  --raise-diameter     spunta \"D>=200\" prima di caricare il progetto\n"
    "  --rtf FILE           scrive anche la relazione in formato RTF in FILE\n"
    "  --svg FILE           scrive il grafico del profilo di temperatura in SVG\n"
    "  --lambda-svg N FILE  scrive il grafico della conducibilit\xC3\xA0 del materiale N in SVG\n"
    "  --pdf FILE           scrive la relazione e il grafico del profilo di temperatura\n"
    "                       in PDF su pagine A4 (la relazione in verticale, il grafico\n"
    "                       in orizzontale)\n"
    "  --json FILE          scrive il calcolo in JSON in FILE\n"
    "  --sweep RIGA=DA:A:PASSO\n"
    "                       esegue \"Calcola\" per ogni valore della riga da DA ad A con\n"
    "                       passo PASSO, sullo stesso foglio come chi scrive ogni valore\n"
    "                       e preme \"Calcola\", e stampa una tabella CSV (con --json un\n"
    "                       array JSON); un calcolo interrotto d\xC3\xA0 la riga col suo "
    "messaggio\n"
    "  --min-thickness RIGA --flue T\n"
    "                       il minimo spessore intero in mm (0..1000) della riga RIGA\n"
    "                       (5..9) per cui la temperatura (est) \xC3\xA8 almeno T, per\n"
    "                       bisezione; ogni prova calcola su una copia del foglio come\n"
    "                       \xC3\xA8 stato caricato, e il risultato non dipende dall'ordine\n"
    "                       delle prove\n"
    "  --help               mostra questo aiuto\n"
    "  --version            mostra il nome e la versione del programma\n"
    "\n"
    "FILE - scrive sull'uscita standard (una sola uscita per volta, e la relazione\n"
    "allora non viene stampata); PROGETTO.CAM - legge il progetto dall'ingresso\n"
    "standard.\n"
    "\n"
    "RIGA: il numero della riga di ingresso (0..11) o la sua chiave:\n";

const char* const usageTail =
    "\n"
    "Uscita: 0 riuscito, 1 file non leggibile o non scrivibile, 2 uso errato,\n"
    "3 calcolo interrotto, 4 nessuno spessore fino a 1000 mm raggiunge T.\n";

std::string usage() {
    std::string u = usageHead;
    for (const InputRowSpec& spec : inputRowTable) {
        const std::string n = std::to_string(static_cast<int>(spec.row));
        std::string line = std::string(4 - n.size(), ' ') + n + "  " + spec.key;
        line.append(line.size() < 30 ? 30 - line.size() : 1, ' ');
        u += line + toUtf8(spec.label) + "\n";
    }
    return u + usageTail;
}

// Messages of the system go to standard error, one line each.
class TerminalMessages : public Messages {
public:
    void message(const std::string& text) override { std::cerr << toUtf8(text) << "\n"; }
    void error(const std::string& text) override { std::cerr << toUtf8(text) << "\n"; }
};

// The terminal's messages, kept as well for the JSON document.
class KeptTerminalMessages : public TerminalMessages {
public:
    void message(const std::string& text) override {
        TerminalMessages::message(text);
        kept.push_back(text);
    }
    void error(const std::string& text) override {
        TerminalMessages::error(text);
        kept.push_back(text);
    }
    std::vector<std::string> kept;
};

// Writes a text to standard output; a failed write (a full disk, a closed
// pipe) throws FileError like a file's.
void printOut(const std::string& text) {
    replaceFileSafely(std::string(StandardStreamPath), text);
}

// Prints a failed file operation and gives the exit status for it.
int fileFailure(const FileError& e) {
    std::cerr << "camini-calc: " << e.what() << "\n";
    return 1;
}

struct Options {
    std::optional<std::string> dataDir;
    bool singleWall = false;
    bool raiseDiameter = false;
    std::optional<std::string> rtf;
    std::optional<std::string> project;
    std::optional<std::string> svg;
    std::optional<std::pair<int, std::string>> lambdaSvg;
    std::optional<std::string> json;
    std::optional<std::string> pdf;
    std::optional<SweepSpec> sweep;
    std::optional<InputRow> minThicknessRow;
    std::optional<double> flue;

    // The files the run writes, "-" for standard output.
    std::vector<std::string> outputs() const {
        std::vector<std::string> files;
        for (const auto* f : {&rtf, &svg, &json, &pdf})
            if (*f)
                files.push_back(**f);
        if (lambdaSvg)
            files.push_back(lambdaSvg->second);
        return files;
    }
    // Whether one of the outputs goes to standard output in place of the
    // report (or of a sweep's table).
    bool outputToStandardOutput() const {
        for (const std::string& f : outputs())
            if (f == StandardStreamPath)
                return true;
        return false;
    }
};

// Parses the command line; returns an exit status when the program must stop.
std::optional<int> parse(int argc, char** argv, Options& o) {
    auto fail = [](const std::string& why) {
        std::cerr << "camini-calc: " << why << "\n\n" << usage();
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
            try {
                printOut(usage());
            } catch (const FileError& e) {
                return fileFailure(e);
            }
            return 0;
        } else if (a == "--version") {
            try {
                printOut(versionLine("camini-calc") + "\n");
            } catch (const FileError& e) {
                return fileFailure(e);
            }
            return 0;
        } else if (a == "--data-dir") {
            std::string d;
            if (!value(d))
                return fail("manca la cartella dopo --data-dir");
            if (d.empty())
                return fail("un nome di cartella vuoto dopo --data-dir");
            o.dataDir = d;
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
        } else if (a == "--pdf") {
            std::string f;
            if (!value(f))
                return fail("manca il file dopo --pdf");
            o.pdf = f;
        } else if (a == "--json") {
            std::string f;
            if (!value(f))
                return fail("manca il file dopo --json");
            o.json = f;
        } else if (a == "--sweep") {
            std::string spec;
            if (!value(spec))
                return fail("manca RIGA=DA:A:PASSO dopo --sweep");
            try {
                o.sweep = parseSweep(spec);
            } catch (const BadArgument& e) {
                return fail(e.what());
            }
        } else if (a == "--min-thickness") {
            std::string key;
            if (!value(key))
                return fail("manca la riga dopo --min-thickness");
            const auto row = findInputRow(key);
            if (!row || !isThicknessRow(*row))
                return fail("--min-thickness vuole una riga di spessore (5..9 o la sua chiave): " +
                            key);
            o.minThicknessRow = row;
        } else if (a == "--flue") {
            std::string t;
            if (!value(t))
                return fail("manca la temperatura dopo --flue");
            const auto v = readNumberStrict(t);
            if (!v || !std::isfinite(*v))
                return fail("temperatura non valida dopo --flue: " + t);
            o.flue = *v;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return fail("opzione sconosciuta: " + a);
        } else if (o.project) {
            return fail("un solo progetto alla volta");
        } else {
            o.project = a;
        }
    }
    const auto outputs = o.outputs();
    if (std::count(outputs.begin(), outputs.end(), std::string(StandardStreamPath)) > 1)
        return fail("una sola uscita alla volta su - (l'uscita standard)");
    if (std::count(outputs.begin(), outputs.end(), std::string()) > 0 ||
        (o.project && o.project->empty()))
        return fail("un nome di file vuoto");
    if (o.minThicknessRow.has_value() != o.flue.has_value())
        return fail("--min-thickness e --flue vanno insieme");
    if (o.sweep && o.minThicknessRow)
        return fail("--sweep e --min-thickness non vanno insieme");
    if ((o.sweep || o.minThicknessRow) && (o.rtf || o.svg || o.lambdaSvg || o.pdf))
        return fail("--rtf, --svg, --lambda-svg e --pdf valgono per un calcolo solo");
    if (o.minThicknessRow && o.json)
        return fail("--json non vale con --min-thickness");
    return std::nullopt;
}

// The sweep: its table, or its JSON array, to standard output or the file.
int runSweepOutput(Session& session, const Options& opt) {
    const auto lines = runSweep(session, *opt.sweep);
    if (opt.json)
        replaceFileSafely(*opt.json, sweepJson(lines, opt.sweep->row).dump(2) + "\n");
    else
        printOut(sweepCsv(lines, opt.sweep->row));
    return 0;
}

// The minimum-thickness search: one line with the thickness and the two
// fire-resistance temperatures, or that none reaches the temperature.
int runMinThickness(const Session& session, const Options& opt) {
    const InputRow row = *opt.minThicknessRow;
    std::optional<MinThickness> found;
    try {
        found = findMinThickness(session, row, *opt.flue);
    } catch (const CalculationStopped& e) {
        std::cerr << toUtf8(e.what()) << "\n";
        return 3;
    }
    if (!found) {
        printOut(toUtf8(inputName(row)) + ": nessuno spessore fino a " +
                 std::to_string(MaxSearchedThickness) + " mm porta la temperatura (est) a " +
                 shortestNumber(*opt.flue) + "\n");
        return 4;
    }
    printOut(toUtf8(inputName(row)) + "=" + std::to_string(found->millimetres) + "  " +
             toUtf8(found->outerLine) + "  " + toUtf8(found->innerLine) + "\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options opt;
    if (auto status = parse(argc, argv, opt))
        return *status;

    TerminalMessages messages;
    Session session(processDataPlaces(opt.dataDir));
    try {
        // The window's start-up, without the size catalogue (only the
        // window's size list reads it), stopping at a file that cannot be read.
        startUp(session, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
        session.sheet.singleWall = opt.singleWall;
        session.sheet.raiseSmallDiameter = opt.raiseDiameter;
        if (opt.project)
            loadSessionProject(session, *opt.project, messages);
    } catch (const FileError& e) {
        return fileFailure(e);
    }

    if (opt.sweep || opt.minThicknessRow) {
        // The cells Calcola would warn of, the one the run writes aside.
        Worksheet typed = session.sheet;
        typed.input(opt.sweep ? opt.sweep->row : *opt.minThicknessRow) = "0";
        for (const std::string& line : inputReadingWarnings(typed))
            messages.message(line);
    }
    try {
        if (opt.sweep)
            return runSweepOutput(session, opt);
        if (opt.minThicknessRow)
            return runMinThickness(session, opt);
    } catch (const FileError& e) {
        return fileFailure(e);
    }

    KeptTerminalMessages calculationMessages;
    if (!calculate(session, calculationMessages))
        return 3;
    buildReport(session, localNow);

    // The graphs come after the report: choosing the conductivity graph's
    // material makes it the insulation material.
    try {
        if (!opt.outputToStandardOutput()) {
            std::string out;
            for (const auto& p : session.viewer.paragraphs) {
                out += toUtf8(p);
                out += '\n';
            }
            printOut(out);
        }
        if (opt.json)
            replaceFileSafely(*opt.json,
                              calculationJson(session, calculationMessages.kept).dump(2) + "\n");
        if (opt.rtf)
            saveRtf(session.viewer, *opt.rtf);
        PlotState plot;
        if (opt.svg)
            replaceFileSafely(*opt.svg, graphSvg(plot, makeProfileGraph(session), messages));
        if (opt.pdf) {
            PlotState printPlot;
            saveReportPdf(session.viewer, printPlot, makeProfileGraph(session), messages, *opt.pdf);
        }
        if (opt.lambdaSvg) {
            chooseGraphMaterial(session.sheet, session.archive, opt.lambdaSvg->first);
            replaceFileSafely(opt.lambdaSvg->second,
                              graphSvg(plot, makeConductivityGraph(session), messages));
        }
    } catch (const FileError& e) {
        return fileFailure(e);
    }
    return 0;
}
