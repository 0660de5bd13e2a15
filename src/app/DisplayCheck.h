#pragma once

// Qt ends a program whose window system cannot be reached with an abort and
// the advice to reinstall it. While a DisplayCheck lives (around the making
// of the QApplication for the window) that end says instead, in plain words,
// that the window needs a display and the commands do not, and the program
// exits with ExitStatus::noDisplay. What Qt says meanwhile is held back and
// passed on once the window system is there.
class DisplayCheck {
public:
    DisplayCheck();
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;
};
