#pragma once

#include "support/TestSupport.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace camini::test {

// The comma-separated fields of a CSV line without quotes.
inline std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> f;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        f.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos)
            return f;
        start = comma + 1;
    }
}

// A project file of the example with one input row's text replaced.
inline std::string exampleProject(int row, const std::string& text) {
    std::vector<std::string> v = {"250", "20", "130", "15", "8",   "40",
                                  "20",  "20", "20",  "10", "100", "85"};
    v[static_cast<std::size_t>(row)] = text;
    std::string p = "esempio 1\r\n";
    for (const auto& s : v)
        p += s + "\r\n";
    return p + "rot\r\n 5\r\n 1\r\n 1\r\n 9\r\n";
}

// Validates a JSON file against a schema of docs/; the validator's complaint
// when it is not valid, empty when it is.
inline std::string schemaComplaint(const std::string& schema, const std::string& file) {
    auto r = runCommand("python3 " + shellQuote(sourceDir() + "/tests/support/validate-json.py") +
                        " " + shellQuote(sourceDir() + "/docs/" + schema) + " " + shellQuote(file));
    return r.status == 0 ? std::string() : "status " + std::to_string(r.status) + ": " + r.err;
}

// A CSV file as Python's csv module reads it with `delimiter` (UTF-8, a
// byte-order mark dropped): {"rows": [[fields]], "byteOrderMark": bool,
// "lineEnd": "\r\n", "\n" or "mixed"}.
inline nlohmann::json readCsvWithPython(const std::string& file, const std::string& delimiter) {
    auto r = runCommand("python3 " + shellQuote(sourceDir() + "/tests/support/read-csv.py") + " " +
                        shellQuote(file) + " " + shellQuote(delimiter));
    if (r.status != 0)
        return {{"error", r.err}};
    return nlohmann::json::parse(r.out);
}

} // namespace camini::test
