// How far a long piece of work has come, in the status line: "Laden... 40%".
#pragma once

#include <chrono>
#include <cstdint>

// Shows "label n%" once the work has taken longer than afterMs and when the
// main window exists; each percentage is shown once.  Whatever ends the
// work puts the status text back.
class StatusProgress {
public:
    StatusProgress(const char* label, int32_t afterMs) : label_(label), afterMs_(afterMs) {}
    void show(int percent);
    // done of total, as a percentage.
    void show(int64_t done, int64_t total);

private:
    const char* label_;
    int32_t afterMs_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    int shownPercent_ = -1;
};
