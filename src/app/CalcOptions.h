#pragma once

#include "batch/Sweep.h"
#include "common/Cp1252.h"
#include "engine/WallTable.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace camini {

// What the command line of camini-calc asks for.
struct CalcOptions {
    enum class Request : std::uint8_t { Run, Help, Version };
    Request request = Request::Run;
    std::optional<PathBytes> dataDir;
    bool singleWall = false;
    bool raiseDiameter = false;
    bool italianCsv = false;
    std::optional<PathBytes> rtf;
    std::optional<PathBytes> project;
    std::optional<PathBytes> svg;
    std::optional<std::pair<int, PathBytes>> lambdaSvg;
    std::optional<PathBytes> json;
    std::optional<PathBytes> pdf;
    std::optional<SweepSpec> sweep;
    std::optional<InputRow> minThicknessRow;
    std::optional<double> flue;

    // The files the run writes, "-" for standard output.
    std::vector<PathBytes> outputs() const;
    // Whether one of the outputs goes to standard output in place of the
    // report (or of a sweep's table, or of a search's line).
    bool outputToStandardOutput() const;
};

// The options, or what is wrong with the command line (UTF-8, Italian, one
// line without "camini-calc: " before it).
struct CommandLine {
    CalcOptions options;
    std::optional<Utf8> error;
};

// Reads the command line as the conventions have it: "--option VALUE" and
// "--option=VALUE" alike, "--" ending the options (what follows is the
// project), an option given twice counting the last time.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The text of --help (UTF-8): the usage, the options, the keys of the input
// rows, the exit statuses and examples.
Utf8 usage();

} // namespace camini
