// Drag and drop with the real mouse: the left button held on a marked block
// of the Overview or on selected text of the Data view until the program's
// drag loop runs, the pointer moved with SendInput, the button let go over
// the Data view.  Text and a file list also come from this test process,
// which then is the drag source another program would be.  What happened is
// read back as a user sees it: the Data view's text through the clipboard,
// the entry count in the status bar, the screen while the drag is on.

#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <thread>

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

// ---- This process as a drag source ----

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

template <typename Interface>
class TestObject : public Interface {
public:
    virtual ~TestObject() = default;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

private:
    std::atomic<ULONG> references{1};
};

// Drops when the button is up; remembers the last effect the target chose.
class TestDropSource final : public TestObject<IDropSource> {
public:
    std::atomic<DWORD> lastEffect{DROPEFFECT_NONE};
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override
    {
        lastEffect = effect;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
};

// Offers one format in global memory: text or a list of file names.
class TestDataObject final : public TestObject<IDataObject> {
public:
    TestDataObject(CLIPFORMAT format, std::string bytes) : format(format), bytes(std::move(bytes)) {}

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override
    {
        if (QueryGetData(wanted) != S_OK)
            return DV_E_FORMATETC;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 2);
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override
    {
        return wanted && wanted->cfFormat == format && (wanted->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    CLIPFORMAT format;
    std::string bytes;
};

// A DROPFILES list of one 8-bit file name.
std::string fileList(const std::string& name)
{
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = FALSE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes += name;
    bytes += std::string(2, '\0');
    return bytes;
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

    // The test process drags bytes of one format from a window of its own
    // to a point of the Data view, as a program does: the press on its
    // window starts the drag loop.  Returns the effect the drop reported.
    DWORD dropFromThisProcess(CLIPFORMAT format, const std::string& bytes, POINT toPoint)
    {
        static const char* sourceClass = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = sourceProc;
            windowClass.lpszClassName = "LumoTestDragSource";
            windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            RegisterClassA(&windowClass);
            return "LumoTestDragSource";
        }();
        HWND source = CreateWindowExA(WS_EX_TOPMOST, sourceClass, "source", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40,
                                      nullptr, nullptr, nullptr, nullptr);
        // The other program is in front, as after the user's click into it.
        SetForegroundWindow(source);
        waitUntil([&] {
            pumpMessages();
            return GetForegroundWindow() == source;
        });
        pumpMessages();

        auto* dropSource = new TestDropSource;
        auto* data = new TestDataObject(format, bytes);
        DWORD effect = DROPEFFECT_NONE;
        HRESULT result = E_FAIL;
        bool dragged = false;
        startDragOnPress = [&] {
            result = DoDragDrop(data, dropSource, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
            dragged = true;
        };
        std::thread hand([&] {
            // The pointer moves once the drag loop follows it.
            waitUntil([] { return !topLevelWindows(GetCurrentProcessId(), dragTrackerClass).empty(); });
            POINT end = toPoint;
            ClientToScreen(dataView, &end);
            for (int step = 1; step <= 8; ++step) {
                POINT p = {30 + (end.x - 30) * step / 8, 20 + (end.y - 20) * step / 8};
                ScreenToClient(dataView, &p);
                moveMouseTo(dataView, p);
            }
            // The hand rests on the drop point, trembling by a pixel, until
            // the Data view has taken the drag over; then it lets go.
            ULONGLONG deadline = GetTickCount64() + waitLimitMs;
            for (int i = 0; GetTickCount64() < deadline; ++i) {
                moveMouseTo(dataView, {toPoint.x + i % 2, toPoint.y});
                if (waitUntil([&] { return dropSource->lastEffect != DROPEFFECT_NONE; }, 100))
                    break;
            }
            releaseLeftButton();
        });
        moveMouseTo(source, {30, 20});
        pressLeftButton();
        waitUntil([&] {
            pumpMessages();
            return dragged;
        });
        if (!dragged)
            releaseLeftButton();
        hand.join();
        startDragOnPress = nullptr;
        data->Release();
        dropSource->Release();
        DestroyWindow(source);
        return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
    }

    static inline std::function<void()> startDragOnPress;
    static LRESULT CALLBACK sourceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_LBUTTONDOWN && startDragOnPress) {
            auto drag = startDragOnPress;
            drag();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

TEST_F(DragAndDrop, MarkedEntriesDraggedFromTheOverviewAreCopiedIntoTheEntryAndUndoTakesThemOut)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const std::string count = entryCountShown();

    // The first two entries marked; the Data view shows the second.
    pressKey(VK_HOME, {VK_CONTROL});
    pressKey(VK_DOWN, {VK_SHIFT});
    pressKey('C', {VK_CONTROL});
    std::string marked;
    ASSERT_TRUE(waitUntil([&] { return !(marked = clipboardText().value_or("")).empty(); }, waitLimitMs, &lumo));
    pressKey(VK_RETURN);
    const std::string entry = copyAll();
    pressKey(VK_HOME, {VK_CONTROL});   // no selection left to drop onto
    pressKey(VK_ESCAPE);
    const std::vector<std::string> lines = linesOf(entry);
    ASSERT_GE(lines.size(), 3u);

    // Dropped behind the text of the entry's third line.
    const int y = geometry.dataViewLineMiddle(2);
    const int lineEnd = geometry.textX(lines[2], lines[2].size());
    ASSERT_NO_FATAL_FAILURE(dragTo(overview, geometry.overviewRow(0), {lineEnd + 40, y}, {lineEnd, y}));

    // Copied, not moved: the entries stay, and the dropped text splits no
    // entry: its empty lines became lines of one blank.
    EXPECT_EQ(entryCountShown(), count);
    const std::string changed = copyAll();
    std::vector<std::string> expected(lines.begin(), lines.begin() + 2);
    std::vector<std::string> dropped = linesOf(marked);
    for (std::string& line : dropped)
        if (line.empty())
            line = " ";
    dropped.front() = lines[2] + dropped.front();
    expected.insert(expected.end(), dropped.begin(), dropped.end());
    expected.push_back(" ");
    expected.insert(expected.end(), lines.begin() + 3, lines.end());
    EXPECT_EQ(linesOf(changed), expected);
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

TEST_F(DragAndDrop, TextAndAFileFromAnotherProgramAreDroppedAtThePointer)
{
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    const std::string count = entryCountShown();
    const std::string entry = findAndOpen("Wa");
    pressKey(VK_HOME, {VK_CONTROL});
    std::vector<std::string> lines = linesOf(entry);
    ASSERT_GE(lines.size(), 3u);

    // Text with an empty line, dropped behind the second line: copied, and
    // the empty line becomes a blank one, so the entry stays one entry.
    const int y1 = geometry.dataViewLineMiddle(1);
    const int end1 = geometry.textX(lines[1], lines[1].size());
    EXPECT_EQ(dropFromThisProcess(CF_TEXT, "Zeile eins\r\n\r\nZeile zwei", {end1 + 40, y1}),
              static_cast<DWORD>(DROPEFFECT_COPY));
    std::vector<std::string> expected = lines;
    expected[1] = lines[1] + "Zeile eins";
    expected.insert(expected.begin() + 2, {" ", "Zeile zwei"});
    EXPECT_EQ(linesOf(copyAll()), expected);
    EXPECT_EQ(entryCountShown(), count);
    pressKey(VK_HOME, {VK_CONTROL});
    const std::vector<std::string> afterText = expected;

    // A file from the file manager: its full path in double quotes where
    // the pointer is, behind the third line's text.
    const std::string path = "C:\\Briefe\\Einladung 2026.txt";
    const int end0 = geometry.textX(expected[2], expected[2].size());
    EXPECT_EQ(dropFromThisProcess(CF_HDROP, fileList(path), {end0 + 40, geometry.dataViewLineMiddle(2)}),
              static_cast<DWORD>(DROPEFFECT_COPY));
    expected[2] += "\"" + path + "\"";
    EXPECT_EQ(linesOf(copyAll()), expected);

    pressKey('Z', {VK_CONTROL});
    EXPECT_EQ(linesOf(copyAll()), afterText);
    OleUninitialize();
    quitWithoutSaving();
}

}  // namespace
