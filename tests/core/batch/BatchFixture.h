#pragma once

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <map>
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

// Every number of a JSON document but its units, by its place
// ("/wall/1/resistance"), against the number at the same place in
// `expected`, within a billionth of it; the strings, booleans and nulls of
// both are left out. A number missing, added or different fails.
inline void expectNumbers(const std::string& document, const std::string& expected) {
    auto numbers = [](const std::string& text) {
        std::map<std::string, double> n;
        const nlohmann::json flat = nlohmann::json::parse(text).flatten();
        for (const auto& [place, v] : flat.items())
            if (v.is_number() && place.rfind("/units/", 0) != 0)
                n[place] = v.get<double>();
        return n;
    };
    const auto got = numbers(document);
    const auto want = numbers(expected);
    for (const auto& [place, v] : want)
        if (got.count(place))
            EXPECT_NEAR(got.at(place), v, std::abs(v) * 1e-9) << place;
        else
            ADD_FAILURE() << place << " is missing";
    for (const auto& [place, v] : got)
        EXPECT_TRUE(want.count(place)) << place << " = " << v << " is not expected";
}

} // namespace camini::test
