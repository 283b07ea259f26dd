#pragma once
// The folder the program works in. Started in a folder that holds Sys (any
// letter case) it works there, as always; started elsewhere (from the desktop
// menu the current folder is the home folder) it works in a folder of its own
// under the user's data folder, prepared on first use like `kvirton-cli init`.

#include <QString>

namespace kv::app {

// Name of the per-user working folder under the data home.
inline constexpr const char *kUserFolderName = "kvirton";

// The working folder for a program started in `currentFolder`: the current
// folder itself when it holds a Sys folder (any letter case), otherwise
// `<data home>/kvirton`, where the data home is `xdgDataHome` when that is
// an absolute path and `<homeFolder>/.local/share` otherwise.
QString chooseWorkingFolder(const QString &currentFolder, const QString &xdgDataHome,
                            const QString &homeFolder);

// The same with the process environment (XDG_DATA_HOME) and home folder.
QString chooseWorkingFolder(const QString &currentFolder);

// Chooses the working folder for the current folder, prepares it when it is
// not the current one (Sys with the three tables and Base, where missing) and
// makes it current. Returns the folder; throws std::runtime_error (or
// dbf::DbfError) with a Russian message naming the folder when it cannot be
// prepared or entered, leaving the current folder as it was.
QString enterWorkingFolder();

} // namespace kv::app
