#include "host/status_progress.h"

#include <algorithm>
#include <cstdio>

#include "host/host.h"

void StatusProgress::show(int percent)
{
    if (percent == shownPercent_ || !host().mainWindowExists() ||
        std::chrono::steady_clock::now() - started_ < std::chrono::milliseconds(afterMs_))
        return;
    shownPercent_ = percent;
    char text[48];
    std::snprintf(text, sizeof text, "%s %d%%", label_, percent);
    host().setStatusText(text);
}

void StatusProgress::show(int64_t done, int64_t total)
{
    show(static_cast<int>(std::min<int64_t>(100, 100 * done / std::max<int64_t>(total, 1))));
}
