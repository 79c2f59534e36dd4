#pragma once

#include <QString>
#include <QStringList>

#include "data/Writability.h"

namespace kq {

// What the command line asks for. Help wins over everything else, so that
// `kq --help` answers even next to options the program does not know.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString folder;  // the FOLDER argument, empty when none was given
    QString error;   // why the command line was refused (Action::Error)
};

// args as QCoreApplication::arguments(): the program name first.
CommandLine parseCommandLine(const QStringList& args);

// Short usage, Chinese and English, for --help and for a refused command line.
QString usageText();

// The per-user folder under the user's documents folder.
QString documentsProgramFolder();

// True when folder holds KQ.db or one of the workbooks (.xls, .xlsx, .csv).
bool holdsClerkFiles(const QString& folder);

// The folder for KQ.db and the three workbooks: the folder given on the
// command line; else the folder of the program file when it is not the folder
// the program is installed into (a copy run from its build or unpacked
// folder) and holds the clerk's files (writable or not) or can be written;
// else the per-user documents folder. Falling back because the program
// file's folder cannot be written is recorded for the messages that say where
// the workbooks go. The chosen folder is created when missing; creation
// failing is left to the first operation that needs the folder, which names
// it in its message.
QString chooseProgramFolder(const QString& argumentFolder, const QString& programFileFolder,
                            const QString& installedBinFolder,
                            const WritableProbe& writable = isWritablePath);

}  // namespace kq
