#pragma once

// The busy cursor around work that blocks the user-interface thread (serial
// exchanges with the transmitter). The constructor shows it at once; the
// destructor keeps it a little longer, so that a quick exchange is still
// seen, and then restores the previous cursor.
class WaitCursor {
public:
    static constexpr int kDefaultHoldMs = 100;

    explicit WaitCursor(int holdMs = kDefaultHoldMs);
    ~WaitCursor();

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    int holdMs_;
    bool active_;
};
