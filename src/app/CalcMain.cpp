// camini-calc: the batch calculator. Starts from the example project of the
// windowed program, loads a project over it when one is named, runs the
// calculate operation and prints the report; or writes the calculation as
// JSON, sweeps one input over a range of values, or searches the smallest
// thickness of a layer for a flue-gas temperature.
#include "CalcOptions.h"
#include "batch/CalculationJson.h"
#include "batch/ReportPdf.h"
#include "batch/Sweep.h"
#include "common/Clock.h"
#include "common/Cp1252.h"
#include "common/DataPlaces.h"
#include "common/FileError.h"
#include "common/Messages.h"
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

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace camini;

namespace {

// Messages of the system go to standard error, one line each.
class TerminalMessages : public Messages {
public:
    // Texts from files reach the terminal without their control bytes.
    void message(const std::string& text) override {
        std::cerr << printableText(toUtf8(text)) << "\n";
    }
    void error(const std::string& text) override {
        std::cerr << printableText(toUtf8(text)) << "\n";
    }
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
        lastError = text;
    }
    std::vector<std::string> kept;
    std::string lastError;
};

// Writes a text to standard output; a failed write (a full disk, a closed
// pipe) throws FileError like a file's.
void printOut(const std::string& text) {
    replaceFileSafely(std::string(StandardStreamPath), text);
}

// Prints a failed file operation and gives the exit status for it.
int fileFailure(const FileError& e) {
    std::cerr << "camini-calc: " << printableText(e.what()) << "\n";
    return 1;
}

// Prints a usage error on one line and where to find the help on another.
int usageFailure(const std::string& why) {
    std::cerr << "camini-calc: " << printableText(why) << "\n"
              << "Prova 'camini-calc --help' per maggiori informazioni.\n";
    return 2;
}

// Writes the help or the version.
int printRequested(CalcOptions::Request request) {
    try {
        printOut(request == CalcOptions::Request::Help ? usage()
                                                       : versionLine("camini-calc") + "\n");
    } catch (const FileError& e) {
        return fileFailure(e);
    }
    return 0;
}

// The clock of the report and the date of the PDF: SOURCE_DATE_EPOCH's
// moment, in UTC, when it is set, so that two runs give the same bytes;
// else the local time now.
struct DocumentTime {
    Clock clock = localNow;
    std::optional<std::time_t> fixed;
};

std::optional<DocumentTime> documentTime() {
    DocumentTime time;
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || !*epoch)
        return time;
    time.fixed = readSourceDateEpoch(epoch);
    if (!time.fixed)
        return std::nullopt;
    const std::tm moment = utcTime(*time.fixed);
    time.clock = [moment] { return moment; };
    return time;
}

// The sweep: its table, or its JSON document, to standard output or the
// file, each line as it is computed. Exit status 3 when a value stopped.
int runSweepOutput(const Session& loaded, const CalcOptions& opt) {
    const SweepFormat format = opt.json         ? SweepFormat::JsonDocument
                               : opt.italianCsv ? SweepFormat::CsvItalian
                                                : SweepFormat::Csv;
    std::size_t stopped = 0;
    // Run anew from the session as loaded each time the save begins.
    replaceFileSafely(opt.json ? *opt.json : std::string(StandardStreamPath),
                      [&](const ContentWriter& write) {
                          Session session = loaded;
                          stopped = writeSweep(session, *opt.sweep, format, write);
                      });
    return stopped > 0 ? 3 : 0;
}

// The minimum-thickness search: one line with the thickness and the two
// fire-resistance temperatures, or that none reaches the temperature; its
// JSON document with --json.
int runMinThickness(const Session& session, const CalcOptions& opt) {
    const InputRow row = *opt.minThicknessRow;
    const double flue = *opt.flue;
    auto writeJson = [&](const Json& doc) {
        if (opt.json)
            replaceFileSafely(*opt.json, doc.dump(2) + "\n");
    };
    MinThickness answer;
    try {
        answer = findMinThickness(session, row, flue);
    } catch (const CalculationStopped& e) {
        std::cerr << printableText(toUtf8(e.what())) << "\n";
        writeJson(stoppedMinThicknessJson(session, row, flue, e.what()));
        return 3;
    }
    writeJson(minThicknessJson(session, row, flue, answer));
    const bool printLine = !opt.outputToStandardOutput();
    if (!answer.found) {
        if (printLine)
            printOut(toUtf8(inputName(row)) + ": nessuno spessore fino a " +
                     std::to_string(MaxSearchedThickness) + " mm porta la temperatura (est) a " +
                     shortestNumber(flue) + "\n");
        return 4;
    }
    if (printLine)
        printOut(toUtf8(inputName(row)) + "=" + std::to_string(answer.found->millimetres) + "  " +
                 toUtf8(answer.found->outerLine) + "  " + toUtf8(answer.found->innerLine) + "\n");
    return 0;
}

// The outputs of one calculation after the report: the report on standard
// output, its JSON document, RTF, SVGs and PDF. The graphs come after the
// report: choosing the conductivity graph's material makes it the
// insulation material.
int writeCalculationOutputs(Session& session, const CalcOptions& opt,
                            const std::vector<Cp1252>& said, const DocumentTime& time,
                            Messages& messages) {
    if (!opt.outputToStandardOutput()) {
        std::string out;
        for (const auto& p : session.viewer.paragraphs) {
            out += printableText(toUtf8(p));
            out += '\n';
        }
        printOut(out);
    }
    if (opt.json)
        replaceFileSafely(*opt.json, calculationJson(session, said).dump(2) + "\n");
    if (opt.rtf)
        saveRtf(session.viewer, *opt.rtf);
    PlotState plot;
    if (opt.svg)
        replaceFileSafely(
            *opt.svg, graphSvg(plot, makeProfileGraph(session), profileGraphCaption(), messages));
    if (opt.pdf) {
        PlotState printPlot;
        const PdfMetadata metadata{toUtf8(session.sheet.projectTitle), versionLine("camini-calc"),
                                   time.fixed};
        saveReportPdf(session.viewer, printPlot, makeProfileGraph(session), messages, metadata,
                      *opt.pdf);
    }
    if (opt.lambdaSvg) {
        chooseGraphMaterial(session.sheet, session.archive, opt.lambdaSvg->first);
        const GraphProcedure graph = makeConductivityGraph(session);
        // A material that gives no curve: its message, and no file.
        if (!checkGraph(graph, messages))
            return 3;
        const GraphProcedure drawOnly{{}, graph.draw, graph.title};
        replaceFileSafely(opt.lambdaSvg->second,
                          graphSvg(plot, drawOnly, conductivityGraphCaption(session), messages));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (line.error)
        return usageFailure(*line.error);
    const CalcOptions& opt = line.options;
    if (opt.request != CalcOptions::Request::Run)
        return printRequested(opt.request);
    const auto time = documentTime();
    if (!time)
        return usageFailure("SOURCE_DATE_EPOCH non valido (secondi dal 1970-01-01 00:00:00 "
                            "UTC, solo cifre): " +
                            std::string(std::getenv("SOURCE_DATE_EPOCH")));

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
        for (const std::string& text : inputReadingWarnings(typed))
            messages.message(text);
    }
    try {
        if (opt.sweep)
            return runSweepOutput(session, opt);
        if (opt.minThicknessRow)
            return runMinThickness(session, opt);
        KeptTerminalMessages said;
        if (!calculate(session, said)) {
            // The document of a stopped calculation: its inputs and message.
            if (opt.json)
                replaceFileSafely(
                    *opt.json,
                    stoppedCalculationJson(session, said.kept, said.lastError).dump(2) + "\n");
            return 3;
        }
        buildReport(session, time->clock);
        return writeCalculationOutputs(session, opt, said.kept, *time, messages);
    } catch (const FileError& e) {
        return fileFailure(e);
    }
}
