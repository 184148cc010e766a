#include "DataPlaces.h"

#include "ExecutableFolder.h"
#include "FileError.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace camini {

namespace {

const char* const ArchiveName = "materiali.TXT";

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// PREFIX/share/camini/ for an executable in PREFIX/bin/.
std::string sharedDataFolder(const std::string& executableFolder) {
    std::filesystem::path bin = std::filesystem::path(executableFolder).lexically_normal();
    if (!bin.has_filename())
        bin = bin.parent_path(); // "/usr/bin/" names "/usr/bin"
    return withSlash((bin.parent_path() / "share" / "camini").string());
}

// The user's own data folder of the program, or nothing without a home.
std::string userDataFolder(const DataEnvironment& env) {
    if (!env.xdgDataHome.empty() && env.xdgDataHome.front() == '/')
        return joinPath(env.xdgDataHome, "camini");
    if (!env.home.empty())
        return joinPath(env.home, ".local/share/camini");
    return {};
}

} // namespace

DataPlaces findDataPlaces(const std::string& executableFolder, const DataEnvironment& env,
                          const std::optional<std::string>& dataDir) {
    DataPlaces places;
    const std::string beside = withSlash(executableFolder);
    const std::string shared = sharedDataFolder(beside);
    if (exists(beside + ArchiveName) || !isFolder(shared)) {
        places.dataFolder = beside;
        places.archive = beside + ArchiveName;
        places.projectFolder = beside;
    } else {
        places.dataFolder = shared;
        places.shippedArchive = shared + ArchiveName;
        const std::string user = userDataFolder(env);
        if (!user.empty())
            places.archive = joinPath(user, ArchiveName);
        if (!env.home.empty())
            places.projectFolder = withSlash(env.home);
    }
    if (dataDir) {
        places.archive = joinPath(*dataDir, ArchiveName);
        places.shippedArchive.clear();
    }
    return places;
}

DataEnvironment processEnvironment() {
    DataEnvironment env;
    if (const char* x = std::getenv("XDG_DATA_HOME"))
        env.xdgDataHome = x;
    if (const char* h = std::getenv("HOME"))
        env.home = h;
    if (env.home.empty()) {
        // No HOME (a service, a cleared environment): the account's home.
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buf(size > 0 ? static_cast<std::size_t>(size) : 16384);
        struct passwd pw;
        struct passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found &&
            found->pw_dir)
            env.home = found->pw_dir;
    }
    return env;
}

DataPlaces processDataPlaces(const std::optional<std::string>& dataDir) {
    return findDataPlaces(executableFolder(), processEnvironment(), dataDir);
}

std::string archiveReadPath(const std::string& archive, const std::string& shippedArchive) {
    if (shippedArchive.empty())
        return archive;
    if (archive.empty())
        return shippedArchive;
    struct stat st;
    if (::stat(archive.c_str(), &st) == 0)
        return archive;
    // Only a file that is not there gives way to the shipped one: one that
    // is there but cannot be reached is reported when it is read.
    return errno == ENOENT || errno == ENOTDIR ? shippedArchive : archive;
}

void makeFolders(const std::string& folder) {
    std::filesystem::path made;
    for (const auto& part : std::filesystem::path(folder)) {
        made /= part;
        if (part.empty() || part == "/")
            continue;
        if (::mkdir(made.c_str(), 0700) == 0)
            continue;
        const int e = errno;
        if (e == EEXIST && isFolder(made.string()))
            continue;
        throw FileError(e == EEXIST ? ENOTDIR : e, folder);
    }
}

} // namespace camini
