#include "shell/layout.h"

ChildLayout layoutChildren(int arrangement, int width, int height, int toolbarHeight)
{
    const int t = toolbarHeight;
    if (arrangement == 2) {
        int k = height * 70 / 100 - t;
        return {{0, t, width, height - t - k}, {0, height - k, width, k}};
    }
    int d = width * 70 / 100;
    return {{0, t, width - d, height - t}, {width - d, t, d, height - t}};
}

WindowRect usableMainWindowRect(const WindowRect& r, int screenWidth, int screenHeight)
{
    bool usable = r.x >= -20 && r.y >= -20 && r.x <= screenWidth + 20 && r.y <= screenHeight + 20 &&
                  r.width <= screenWidth + 40 && r.height <= screenHeight + 40 && !(r.width == 0 && r.height == 0);
    if (usable)
        return r;
    int width = screenWidth * 80 / 100;
    int height = screenHeight * 80 / 100;
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
}
