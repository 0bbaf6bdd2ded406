#include "transfer/drag_drop.h"

#include <ole2.h>
#include <shellapi.h>

#include <cstring>
#include <new>
#include <string>

#include "transfer/paste_text.h"
#include "shell/app.h"
#include "views/data_view_rules.h"
#include "views/data_view_window.h"
#include "views/line_table.h"
#include "views/selection_edit.h"
#include "views/view_state.h"

namespace {

// Where the pointer was when the drag loop last asked for feedback.
POINT feedbackPoint;

// ---- Reference counting shared by the three objects ----

template <typename Interface>
class Counted : public Interface {
public:
    virtual ~Counted() = default;

    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

private:
    LONG references = 1;
};

// ---- Drop source ----

class DropSource final : public Counted<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override
    {
        if (escapePressed)
            return DRAGDROP_S_CANCEL;
        if (!(keys & MK_LBUTTON))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override
    {
        GetCursorPos(&feedbackPoint);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
};

// ---- Data object: the drag buffer as CF_TEXT ----

bool textFormat(const FORMATETC* format)
{
    return format && format->cfFormat == CF_TEXT && format->dwAspect == DVASPECT_CONTENT;
}

class DataObject final : public Counted<IDataObject> {
public:
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!medium)
            return E_POINTER;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = nullptr;
        medium->pUnkForRelease = nullptr;
        if (!textFormat(format) || format->ptd || state != 0)
            return DV_E_FORMATETC;
        medium->hGlobal = copyOf(dragBuffer.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (!medium)
            return E_POINTER;
        if (!textFormat(format) || format->ptd || state != 0)
            return DV_E_FORMATETC;
        // Straight from the view's block in the store.
        std::string text;
        try {
            text = dragText(dragSourceWindow);
        } catch (const std::bad_alloc&) {
            text.clear();
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->pUnkForRelease = nullptr;
        medium->hGlobal = copyOf(text.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return textFormat(format) && state == 0 ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override
    {
        if (!in || !out)
            return E_POINTER;
        *out = *in;
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (formats)
            *formats = nullptr;
        return direction == DATADIR_GET ? OLE_S_USEREG : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    // Movable, shareable global memory holding text and its NUL; none when
    // it cannot be had.
    static HGLOBAL copyOf(const char* text)
    {
        if (dragSourceWindow == DragOrigin::None)
            return nullptr;
        const size_t length = std::strlen(text);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, length + 1);
        if (!memory)
            return nullptr;
        void* bytes = GlobalLock(memory);
        if (!bytes) {
            GlobalFree(memory);
            return nullptr;
        }
        std::memcpy(bytes, text, length + 1);
        GlobalUnlock(memory);
        return memory;
    }

    DWORD state = 0;
};

// ---- Drop target: the Data view ----

bool keyHeld(DWORD keys, DWORD flag)
{
    return (keys & flag) != 0;
}

// Waits on the tick count, as the auto-scroll of a drag does: the drag
// loop runs on this thread, so nothing else happens meanwhile.
void waitTicks(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms)
        Sleep(1);
}

class DropTarget final : public Counted<IDropTarget> {
public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        const DWORD allowed = *effect;
        previous = {-1, -1};
        FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        FORMATETC files = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        if (data && data->QueryGetData(&text) == S_OK) {
            droppedFiles = false;
        } else if (data && data->QueryGetData(&files) == S_OK) {
            droppedFiles = true;
        } else {
            *effect = DROPEFFECT_NONE;
            return E_INVALIDARG;
        }
        *effect = chooseDropEffect(droppedFiles, keyHeld(keys, MK_CONTROL), keyHeld(keys, MK_SHIFT),
                                   dragSourceWindow, allowed);
        track(point, false);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override
    {
        if (!effect)
            return E_INVALIDARG;
        *effect = chooseDropEffect(droppedFiles, keyHeld(keys, MK_CONTROL), keyHeld(keys, MK_SHIFT),
                                   dragSourceWindow, *effect);
        track(point, true);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        previous = {-1, -1};
        repaintDataView();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override
    {
        if (!effect || !data)
            return E_INVALIDARG;
        const DWORD allowed = *effect;
        // The point of the drop decides, whatever the last DragOver saw.
        track(point, false);
        FORMATETC textFormat = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (SUCCEEDED(data->GetData(&textFormat, &medium)))
            return dropText(medium, keys, allowed, *effect);
        return dropFile(data, *effect);
    }

private:
    HRESULT dropText(STGMEDIUM& medium, DWORD keys, DWORD allowed, DWORD& effect)
    {
        if (ownDragRunning() && insideSelection(position)) {
            // A block dropped onto itself stays as it is.
            ReleaseStgMedium(&medium);
            effect = DROPEFFECT_NONE;
            return S_OK;
        }
        effect = chooseDropEffect(false, keyHeld(keys, MK_CONTROL), keyHeld(keys, MK_SHIFT), dragSourceWindow,
                                  allowed);
        std::string text;
        bool haveText = false;
        if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
            if (const auto* bytes = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
                try {
                    text.assign(bytes, strnlen(bytes, GlobalSize(medium.hGlobal)));
                    haveText = true;
                } catch (const std::bad_alloc&) {
                    haveText = false;
                }
                GlobalUnlock(medium.hGlobal);
            }
        }
        ReleaseStgMedium(&medium);
        pasteCursorKeys = sendCursorKeys;
        if (haveText)
            dropTextAt(text.c_str(), position,
                       effect == DROPEFFECT_MOVE && dragSourceWindow == DragOrigin::DataView);
        else
            finishPaste();
        if (mainWindow)
            SetForegroundWindow(mainWindow);
        if (ownDragRunning())
            dragBuffer[0] = dropMarker;
        return S_OK;
    }

    HRESULT dropFile(IDataObject* data, DWORD& effect)
    {
        FORMATETC filesFormat = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (FAILED(data->GetData(&filesFormat, &medium))) {
            effect = DROPEFFECT_NONE;
            return S_OK;
        }
        effect = DROPEFFECT_COPY;
        if (medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) {
            ReleaseStgMedium(&medium);
            return S_OK;
        }
        // The system's query reads both the 8-bit and the wide file lists.
        char name[MAX_PATH * 2] = "";
        DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0, name, sizeof name);
        ReleaseStgMedium(&medium);
        pasteCursorKeys = sendCursorKeys;
        dropFileAt(name, position);
        if (mainWindow)
            SetForegroundWindow(mainWindow);
        return S_OK;
    }

    // The caret keys that end a drop, as they end a paste.
    static void sendCursorKeys()
    {
        if (!mainWindow)
            return;
        SendMessageA(mainWindow, WM_KEYDOWN, VK_LEFT, 0);
        SendMessageA(mainWindow, WM_KEYDOWN, VK_RIGHT, 0);
    }

    // The drop position under the pointer, shown as the caret while the
    // real caret is kept; with autoScroll the view scrolls when the
    // pointer reaches its edges.
    void track(POINTL screen, bool autoScroll)
    {
        if (!dataViewWindow)
            return;
        const int32_t savedLine = caretLine, savedColumn = caretColumn;
        POINT p = {screen.x, screen.y};
        ScreenToClient(dataViewWindow, &p);
        DropPosition at = dataViewPositionAt(p);
        if (autoScroll) {
            const int32_t lastRow = firstVisibleLine + dataViewRowCount - 2;
            if (at.line > lastRow && lastRow < lineCount) {
                waitTicks(50);
                ++firstVisibleLine;
                repaintDataView();
                at = dataViewPositionAt(p);
            } else if (at.line == 0 && firstVisibleLine > 0) {
                waitTicks(50);
                --firstVisibleLine;
                repaintDataView();
                at = dataViewPositionAt(p);
            }
        }
        position = at;
        caretLine = at.line;
        caretColumn = at.column;
        if (at.line != previous.line || at.column != previous.column) {
            previous = at;
            repaintDataView();
        }
        if (autoScroll) {
            const int x = dataViewTextX(at.line, at.column) - dataViewScrollX;
            RECT client;
            GetClientRect(dataViewWindow, &client);
            if (x < 10 && dataViewScrollX > 0) {
                waitTicks(2);
                dataViewScrollX = dataViewScrollX > 10 ? dataViewScrollX - 10 : 0;
                repaintDataView();
            } else if (x > client.right - 10) {
                waitTicks(2);
                dataViewScrollX += 10;
                repaintDataView();
            }
        }
        caretLine = savedLine;
        caretColumn = savedColumn;
    }

    bool droppedFiles = false;
    DropPosition position = {0, 0};
    DropPosition previous = {-1, -1};
};

DropTarget* target = nullptr;

}  // namespace

void startDrag(DragOrigin origin)
{
    try {
        dragBuffer = dragText(origin);
    } catch (const std::bad_alloc&) {
        dragBuffer.clear();
    }
    if (dragBuffer.empty())
        return;
    dragSourceWindow = origin;
    auto* source = new (std::nothrow) DropSource;
    auto* data = new (std::nothrow) DataObject;
    if (source && data) {
        DWORD effect = DROPEFFECT_NONE;
        const DWORD allowed = origin == DragOrigin::Overview ? DROPEFFECT_COPY : DROPEFFECT_COPY | DROPEFFECT_MOVE;
        if (DoDragDrop(data, source, allowed, &effect) == DRAGDROP_S_DROP && effect == DROPEFFECT_MOVE) {
            removeMovedText(origin);
            repaintDataView();
        }
    }
    endDrag();
    if (source)
        source->Release();
    if (data)
        data->Release();
    SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
    if (origin == DragOrigin::DataView && selectionActive && selStartLine == selEndLine &&
        selStartColumn == selEndColumn) {
        clearDataViewSelection();
        repaintDataView();
    }
}

void registerDataViewDropTarget(HWND dataView)
{
    if (!target)
        target = new (std::nothrow) DropTarget;
    if (target && dataView)
        RegisterDragDrop(dataView, target);
}

void revokeDataViewDropTarget(HWND dataView)
{
    if (dataView)
        RevokeDragDrop(dataView);
}

IDropTarget* dataViewDropTarget()
{
    return target;
}
