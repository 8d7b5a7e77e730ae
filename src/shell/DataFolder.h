// Where the program keeps each user's files. Started from a terminal it keeps them in the
// working directory; the desktop entry starts it with DataFolderOption, which makes it keep
// them in the user's data folder (~/.local/share/tessimo, or under $XDG_DATA_HOME), created on
// first start. User-interface thread, at start-up.
#pragma once

#include <QString>
#include <QStringList>

namespace tessimo {

inline constexpr char DataFolderOption[] = "--data-folder";

struct StartArguments {
    bool dataFolder = false; // DataFolderOption was given
    QStringList rest;        // the other arguments, in order (a document to open)
};

// Splits the command-line arguments (without the program's name).
StartArguments parseStartArguments(const QStringList& arguments);

// The user's data folder for the program: $XDG_DATA_HOME/tessimo, ~/.local/share/tessimo by
// default.
QString userDataFolder();

// Creates the folder (readable by its owner only) when it does not exist and makes it the
// working directory. Returns an empty string, or why it could not, in words for the user
// (the working directory then stays as it was).
QString enterDataFolder(const QString& path);

} // namespace tessimo
