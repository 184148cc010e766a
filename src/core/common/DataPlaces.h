#pragma once

#include <optional>
#include <string>

namespace camini {

// What the places of the data depend on besides the executable's folder.
struct DataEnvironment {
    // $XDG_DATA_HOME; used only when it is an absolute path.
    std::string xdgDataHome;
    // $HOME (or the home folder of the user's account when it is unset).
    std::string home;
};

// Where the program reads its data files and keeps the materials archive.
struct DataPlaces {
    // The folder of the data files other than the archive: the size
    // catalogue, the section pictures, the manual page. Ends with '/'.
    std::string dataFolder;
    // The archive the editor saves, read whenever it exists. Empty when the
    // program has nowhere to keep the user's archive (no home folder).
    std::string archive;
    // The shipped archive, read while `archive` does not exist. Empty when
    // the archive is read and saved in one place.
    std::string shippedArchive;
    // The folder the project dialogs open in.
    std::string projectFolder;

    friend bool operator==(const DataPlaces&, const DataPlaces&) = default;
};

// The rule, from the folder of the running executable:
// - a folder of the executable holding "materiali.TXT" (the build tree, a
//   portable copy) holds everything: the data are read there, the archive is
//   saved there and the project dialogs open there;
// - otherwise, where the executable lies in PREFIX/bin of an installed tree
//   with PREFIX/share/camini, the data are read from PREFIX/share/camini; the
//   user's archive is $XDG_DATA_HOME/camini/materiali.TXT (by default
//   ~/.local/share/camini/materiali.TXT), read when it exists and the shipped
//   one otherwise, and the editor saves it there, never into share; the
//   project dialogs open in the home folder;
// - otherwise the executable's folder, whose missing files the start-up
//   reports.
// A data folder given on the command line (`dataDir`) holds the archive,
// read and saved there, whichever rule places the other files.
DataPlaces findDataPlaces(const std::string& executableFolder, const DataEnvironment& env,
                          const std::optional<std::string>& dataDir = std::nullopt);

// The environment of this process.
DataEnvironment processEnvironment();

// The places of this process, from its executable's folder and environment.
DataPlaces processDataPlaces(const std::optional<std::string>& dataDir = std::nullopt);

// The file to read the archive from now: `archive` when it exists (or when
// nothing is shipped), the shipped archive otherwise.
std::string archiveReadPath(const std::string& archive, const std::string& shippedArchive);

// Makes the folder and every missing parent, each new one with mode 0700 (the
// user's own data). Throws FileError naming the folder when one of them is a
// file or cannot be made.
void makeFolders(const std::string& folder);

} // namespace camini
