#include "support/TestSupport.h"

#include "common/ExecutableFolder.h"
#include "common/TextFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace camini::test {

TempDir::TempDir(const std::string& base) {
    std::string tmpl = base + "/camini-test-XXXXXX";
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
    // Readable and writable by the unprivileged child of permission tests.
    std::filesystem::permissions(path_, std::filesystem::perms::all);
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission on anything a test locked before removing it.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}

std::string readFile(const std::string& path) {
    return readWholeFile(path);
}

void setMaterial(MaterialArchive& archive, int m, const std::string& description,
                 std::initializer_list<std::pair<double, double>> points) {
    Material& mat = archive.material(m);
    mat = Material{};
    mat.description = description;
    int k = 0;
    for (const auto& [t, l] : points) {
        mat.temperatures[static_cast<std::size_t>(k)] = t;
        mat.lambdas[static_cast<std::size_t>(k)] = l;
        ++k;
    }
    MaterialArchive::derive(mat);
}

MaterialArchive constantArchive() {
    MaterialArchive a;
    setMaterial(a, 1, "calcestruzzo", {{300, 0.5}});
    setMaterial(a, 5, "isolante costante", {{300, 0.05}});
    setMaterial(a, 9, "acciaio", {{300, 1.0}});
    return a;
}

int runInChild(const std::function<int()>& fn, bool asNobody) {
    pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (asNobody) {
            struct passwd* pw = ::getpwnam("nobody");
            if (!pw || ::setgid(pw->pw_gid) != 0 || ::setuid(pw->pw_uid) != 0)
                ::_exit(99);
        }
        int rc = 100;
        try {
            rc = fn();
        } catch (...) {
            rc = 101;
        }
        ::_exit(rc);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

Clock fixedClock() {
    return [] {
        std::tm t{};
        t.tm_year = 2026 - 1900;
        t.tm_mon = 11;
        t.tm_mday = 8;
        t.tm_hour = 14;
        t.tm_min = 5;
        t.tm_sec = 9;
        return t;
    };
}

std::string shellQuote(const std::string& word) {
    std::string q = "'";
    for (char c : word) {
        if (c == '\'')
            q += "'\\''";
        else
            q.push_back(c);
    }
    return q + "'";
}

RunResult runCommand(const std::string& command) {
    TempDir dir;
    const std::string out = dir.file("out");
    const std::string err = dir.file("err");
    int rc = std::system((command + " >" + out + " 2>" + err).c_str());
    RunResult r;
    if (rc != -1 && WIFEXITED(rc))
        r.status = WEXITSTATUS(rc);
    else if (rc != -1 && WIFSIGNALED(rc))
        r.status = 128 + WTERMSIG(rc);
    r.out = readWholeFile(out);
    r.err = readWholeFile(err);
    return r;
}

std::string sourceDir() {
    if (const char* s = std::getenv("CAMINI_SOURCE_DIR"))
        return s;
    return std::string(CAMINI_SOURCE_DIR_FALLBACK);
}

std::string binDir() {
    if (const char* s = std::getenv("CAMINI_BIN_DIR"))
        return s;
    return executableFolder();
}

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> v;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos)
            nl = text.size();
        v.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return v;
}

} // namespace camini::test
