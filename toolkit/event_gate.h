#pragma once

// While a wait loop answers messages sent by other programs (the game's paste
// asks the clipboard owner), no event handler of Tallykeep's own may run. The
// loop holds an EventGate::Closed for its duration; the toolkit's window
// procedures defer the events that arrive meanwhile until the gate opens again.
class EventGate {
public:
    static bool isClosed() { return depth() > 0; }

    class Closed {
    public:
        Closed() { ++depth(); }
        ~Closed() { --depth(); }
        Closed(const Closed&) = delete;
        Closed& operator=(const Closed&) = delete;
    };

private:
    static int& depth() {
        static int value = 0;
        return value;
    }
};
