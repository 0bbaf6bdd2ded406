// Drag and drop with the real mouse: the left button held on a marked block
// of the Overview or on selected text of the Data view until the program's
// drag loop runs, the pointer moved with SendInput, the button let go over
// the Data view.  What happened is read back as a user sees it: the Data
// view's text through the clipboard, the entry count in the status bar, the
// screen while the drag is on.

#include "e2e/real_input.h"

namespace {

constexpr const char* dragTrackerClass = "WineDragDropTracker32";

// ---- Where things are in the views ----

// The views' fonts are the system font of a first start; the caption
// strips use the small caption font.  Both are measured here as the program
// measures them.
struct ViewGeometry {
    int captionHeight = 0;
    int lineHeight = 0;
    HFONT normalFont = nullptr;

    ViewGeometry()
    {
        HDC dc = GetDC(nullptr);
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = 340;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0);
        HFONT caption = CreateFontIndirectA(&metrics.lfSmCaptionFont);
        captionHeight = heightOf(dc, caption);
        DeleteObject(caption);
        LOGFONTA system{};
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
        system.lfWeight = FW_NORMAL;
        normalFont = CreateFontIndirectA(&system);
        lineHeight = heightOf(dc, normalFont);
        ReleaseDC(nullptr, dc);
    }
    ~ViewGeometry() { DeleteObject(normalFont); }
    ViewGeometry(const ViewGeometry&) = delete;
    ViewGeometry& operator=(const ViewGeometry&) = delete;

    static int heightOf(HDC dc, HFONT font)
    {
        HGDIOBJ was = SelectObject(dc, font);
        TEXTMETRICA text{};
        GetTextMetricsA(dc, &text);
        SelectObject(dc, was);
        return text.tmHeight + text.tmExternalLeading;
    }

    // The middle of row r of the Overview's list (first row at the top).
    POINT overviewRow(int row, int x = 30) const
    {
        const int pitch = lineHeight + lineHeight / 2;
        return {x, captionHeight + 1 + row * pitch + lineHeight / 2};
    }

    // The middle of line l (1 or more) of the Data view, scrolled to its top.
    int dataViewLineMiddle(int line) const { return captionHeight + 1 + (line + 1) * lineHeight + lineHeight / 2; }

    // Where the first column characters of a line (not the first line)
    // end in the Data view.
    int textX(const std::string& line, size_t column) const
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ was = SelectObject(dc, normalFont);
        SIZE size{};
        GetTextExtentPoint32A(dc, line.data(), static_cast<int>(std::min(column, line.size())), &size);
        SelectObject(dc, was);
        ReleaseDC(nullptr, dc);
        return 1 + size.cx;
    }
};

bool dark(COLORREF colour)
{
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 100;
}

std::vector<std::string> linesOf(const std::string& entry)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < entry.size()) {
        size_t end = entry.find("\r\n", start);
        if (end == std::string::npos)
            end = entry.size();
        lines.push_back(entry.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class DragAndDrop : public RealInput {
protected:
    ViewGeometry geometry;
    HWND statusText = nullptr;

    void start()
    {
        ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
        HWND statusBar = childDialogHolding(mainWindow, IDC_STATUS_TEXT);
        ASSERT_TRUE(statusBar);
        statusText = GetDlgItem(statusBar, IDC_STATUS_TEXT);
    }

    std::string entryCountShown() { return windowText(statusText); }

    bool dragLoopRunning() { return !topLevelWindows(lumo.id, dragTrackerClass).empty(); }

    // Holds the left button at from until the program's drag loop runs,
    // moves the pointer over the Data view to to, and lets go once the
    // drop position is drawn there.  The pointer goes in steps, as a hand
    // moves it.
    void dragTo(HWND from, POINT fromPoint, POINT toPoint, POINT shownAt)
    {
        moveMouseTo(from, fromPoint);
        pressLeftButton();
        ASSERT_TRUE(waitUntil([&] { return dragLoopRunning(); }, waitLimitMs, &lumo))
            << "holding the button started no drag";
        POINT start = fromPoint, end = toPoint;
        ClientToScreen(from, &start);
        ClientToScreen(dataView, &end);
        for (int step = 1; step <= 8; ++step) {
            POINT p = {start.x + (end.x - start.x) * step / 8, start.y + (end.y - start.y) * step / 8};
            ScreenToClient(dataView, &p);
            moveMouseTo(dataView, p);
        }
        const bool shown = waitUntil([&] { return dark(screenPixel(dataView, shownAt)); }, waitLimitMs, &lumo);
        releaseLeftButton();
        ASSERT_TRUE(shown) << "the drop position was not drawn while dragging";
        ASSERT_TRUE(waitUntil([&] { return !dragLoopRunning(); }, waitLimitMs, &lumo)) << "the drag did not end";
    }
};

TEST_F(DragAndDrop, MarkedEntriesDraggedFromTheOverviewAreCopiedIntoTheEntryAndUndoTakesThemOut)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const std::string count = entryCountShown();

    // The first two entries marked; the Data view shows the second.
    pressKey(VK_HOME, {VK_CONTROL});
    pressKey(VK_DOWN, {VK_SHIFT});
    const std::string marked = copy();
    ASSERT_FALSE(marked.empty());
    pressKey(VK_RETURN);
    const std::string entry = copyAll();
    pressKey(VK_HOME, {VK_CONTROL});   // no selection left to drop onto
    pressKey(VK_ESCAPE);
    ASSERT_EQ(copy(), marked) << "the Overview did not get the keys back";
    const std::vector<std::string> lines = linesOf(entry);
    ASSERT_GE(lines.size(), 3u);

    // Dropped behind the text of the entry's third line.
    const int y = geometry.dataViewLineMiddle(2);
    const int lineEnd = geometry.textX(lines[2], lines[2].size());
    ASSERT_NO_FATAL_FAILURE(dragTo(overview, geometry.overviewRow(0), {lineEnd + 40, y}, {lineEnd, y}));

    // Copied, not moved: the entries stay; the text went behind the third
    // line (how it is joined in is the drop rules' business).
    EXPECT_EQ(entryCountShown(), count);
    const std::vector<std::string> changed = linesOf(copyAll());
    ASSERT_GT(changed.size(), lines.size());
    EXPECT_EQ(changed[2], lines[2] + linesOf(marked).front());
    EXPECT_TRUE(windowText(mainWindow).starts_with("*"));

    pressKey('Z', {VK_CONTROL});
    pressKey(VK_RETURN);   // Undo gave the Overview the keys back
    EXPECT_EQ(copyAll(), entry);
    EXPECT_EQ(entryCountShown(), count);
    quitWithoutSaving();
}

TEST_F(DragAndDrop, SelectedTextMovesToALaterLineOfTheSameEntry)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const std::string entry = findAndOpen("Wa");
    const std::vector<std::string> lines = linesOf(entry);
    ASSERT_GE(lines.size(), 4u);
    // The whole second line selected with the keyboard.
    pressKey(VK_HOME, {VK_CONTROL});
    pressKey(VK_DOWN);
    pressKey(VK_HOME);
    pressKey(VK_END, {VK_SHIFT});

    const int from = geometry.textX(lines[1], 2);
    const int y = geometry.dataViewLineMiddle(3);
    const int lineEnd = geometry.textX(lines[3], lines[3].size());
    ASSERT_NO_FATAL_FAILURE(dragTo(dataView, {from, geometry.dataViewLineMiddle(1)}, {lineEnd + 40, y}, {lineEnd, y}));

    // Moved: the emptied line keeps a blank, the text went behind the fourth line.
    std::vector<std::string> expected = lines;
    expected[1] = " ";
    expected[3] = lines[3] + lines[1];
    EXPECT_EQ(linesOf(copyAll()), expected);

    pressKey('Z', {VK_CONTROL});
    EXPECT_EQ(copyAll(), entry);
    quitWithoutSaving();
}

}  // namespace
