#pragma once

#include <cstdint>
#include <functional>

// Tallykeep's event handlers never nest. While one runs the gate is closed,
// and every event that comes up meanwhile waits: a message that another
// program sends (answered inside any call that waits for something: a wait
// loop's pause, WaitForInputIdle, the clipboard calls, SetForegroundWindow)
// as much as a notification that the handler causes itself (a form it hides).
// The waiting events run in order right after the running handler, so no
// handler ever sees another one's work half done.
//
// The program's own modal boxes are the one way in: their message loop is
// meant to run the program (ticks go on inside the error box), so a box opens
// the gate while it is open, and a handler opens one only where its own work
// is complete. The end of the Windows session cannot wait either; the main
// form handles it (Form).
class EventGate {
public:
    static bool isClosed();

    // Runs the handler at once when the gate is open, with the gate closed;
    // else right after the running handler. An exception that the handler
    // raises is shown in the error box, once the gate is open again.
    static void run(std::function<void()> handler);
    // How long the running handler's event waited for the gate to open: 0
    // for one run at once. A press made while a wait loop ran is told apart
    // from one made after it.
    static uint32_t runningEventWaitedMs();

    // Opens the gate for the life of a modal box.
    class OpenForModalBox {
    public:
        OpenForModalBox();
        ~OpenForModalBox();
        OpenForModalBox(const OpenForModalBox&) = delete;
        OpenForModalBox& operator=(const OpenForModalBox&) = delete;

    private:
        int closedDepth_;
    };
};
