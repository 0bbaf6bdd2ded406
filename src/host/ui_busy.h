// Raised while a message box, a modal dialog or a common dialog is open and
// while the text buffer is being changed; the views ignore input meanwhile.
#pragma once

extern bool uiBusy;

// Raises uiBusy for one scope and puts back what was there before.
struct UiBusyScope {
    bool previous;
    UiBusyScope() : previous(uiBusy) { uiBusy = true; }
    ~UiBusyScope() { uiBusy = previous; }
    UiBusyScope(const UiBusyScope&) = delete;
    UiBusyScope& operator=(const UiBusyScope&) = delete;
};
