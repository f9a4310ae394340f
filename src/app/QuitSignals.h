#pragma once

#include <QObject>

class QSocketNotifier;
class UnattendedPrompts;

// Closes the program's windows, the main window as its close button does, when the process is
// asked to end: SIGTERM (a desktop session that logs out, kill), SIGINT (Ctrl+C in the terminal
// the program was started from) and SIGHUP (that terminal closed). Closing the main window
// finishes a recording and writes the settings, which the signals' default action, ending the
// process at once, would not; an open box or popup goes first, and from then on no box is waited
// on (what one would say is logged and said at the next start). The signal handler only writes a
// byte into a pipe; the windows close on the GUI thread.
// While one object lives it owns these three signals; its destructor restores their defaults.
//
// Threads: created, used and destroyed on the GUI thread; the handler runs on whichever thread
// the signal interrupts.
class QuitSignals : public QObject
{
    Q_OBJECT
public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals &) = delete;
    QuitSignals &operator=(const QuitSignals &) = delete;

    // False when the pipe or the handlers could not be set up (the signals then keep their
    // default action).
    bool isActive() const { return m_notifier != nullptr; }

private:
    void closeWindows();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    UnattendedPrompts *m_unattended = nullptr;
};
