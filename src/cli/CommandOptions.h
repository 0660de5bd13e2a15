#pragma once

#include <QString>

// How the program ends when it does not run the window to its end.
namespace ExitStatus {
inline constexpr int ok = 0;
inline constexpr int differs = 1;     // verify: the panel differs; --repeat: a panel failed
inline constexpr int usage = 2;       // a wrong option or argument
inline constexpr int fileRefused = 3; // FILE would not open, or the read would not save
inline constexpr int incomplete = 4;  // FILE leaves an item without module or channel
inline constexpr int noResponse = 5;  // no panel answered
inline constexpr int mismatch = 6;    // the panel is not one of the two models
inline constexpr int badData = 7;     // a byte failed to read or verify
inline constexpr int portFault = 8;   // the serial port would not open, or failed
inline constexpr int recordLost = 9;  // a line of --log or --trace could not be written
inline constexpr int noDisplay = 10;  // the window was asked for where there is no display
inline constexpr int changed = 11; // done, but a value was taken otherwise than given (last lines)
inline constexpr int interrupted = 130;
} // namespace ExitStatus

// What the command line asks for: a command run from the console, or the
// window.
struct CommandLineOptions {
    QString command;     // "read", "write", "verify"; empty for the window
    QString port;        // the serial device for this run; empty for the one chosen last
    QString file;        // a configuration file to open at start; empty for none
    QString trace;       // a file to append the traffic with the panel to; empty for none
    QString log;         // commands: the site's record of each panel; empty for none
    QString name;        // read: the panel name to save (FILE's own without --name)
    bool repeat = false; // write: panel after panel until interrupted
    QString site;        // the window: a folder of configuration files to open as a site
};
