#pragma once

#include "common/Clock.h"
#include "common/Messages.h"
#include "materials/MaterialArchive.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace camini::test {

// A fresh folder under /tmp (or `base`), removed with its contents at the end
// of the test.
class TempDir {
public:
    explicit TempDir(const std::string& base = "/tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// Sets material m of the archive (in memory) to the given points and derives
// its pointCount, tempMin and tempMax as a load would.
void setMaterial(MaterialArchive& archive, int m, const std::string& description,
                 std::initializer_list<std::pair<double, double>> points);

// An archive in memory with one point per material: constant conductivities
// 0.05 for material 5 (insulation), 0.5 for 1 (technical gap and screen 1)
// and 1.0 for 9 (screen 2).
MaterialArchive constantArchive();

// Runs fn in a child process and returns its exit status (or 128 + signal).
// With `asNobody` the child first drops to the unprivileged user "nobody",
// so permission checks apply even when the tests run as root.
int runInChild(const std::function<int()>& fn, bool asNobody = false);

// Messages recorded instead of shown.
struct RecordingMessages : Messages {
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    void message(const std::string& text) override { messages.push_back(text); }
    void error(const std::string& text) override { errors.push_back(text); }
};

// A clock fixed at 08/12/2026 14:05:09.
Clock fixedClock();

// Result of running a program: exit status, standard output and error.
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `command` through the shell with its output captured.
RunResult runCommand(const std::string& command);

// Quotes a word for the shell.
std::string shellQuote(const std::string& word);

// Folder of the source tree and of the built executables (from ctest's
// environment, with fallbacks for running a test binary by hand).
std::string sourceDir();
std::string binDir();

// The batch calculator, quoted for the shell.
inline std::string calc() {
    return shellQuote(binDir() + "/camini-calc");
}

// The lines of a text without their LF.
std::vector<std::string> textLines(const std::string& text);

} // namespace camini::test
