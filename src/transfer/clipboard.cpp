#include "transfer/clipboard.h"

#include <cstring>
#include <new>
#include <string>

#include "transfer/address_field.h"
#include "transfer/paste_text.h"
#include "shell/app.h"
#include "store/undo.h"
#include "views/selection_edit.h"
#include "views/view_state.h"

namespace {

// Another program may hold the clipboard for a moment: it is tried again
// at once, a bounded number of times.
bool openClipboard(HWND owner)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (OpenClipboard(owner))
            return true;
    }
    return false;
}

// The caret keys that end a paste are plain moves, even while Ctrl (of
// Ctrl+V) or Shift is held: the modifier bits of the thread's key state
// are cleared while they are handled.
void sendPasteCursorKeys()
{
    if (!mainWindow)
        return;
    BYTE keys[256];
    if (!GetKeyboardState(keys)) {
        SendMessageA(mainWindow, WM_KEYDOWN, VK_LEFT, 0);
        SendMessageA(mainWindow, WM_KEYDOWN, VK_RIGHT, 0);
        return;
    }
    BYTE plain[256];
    std::memcpy(plain, keys, sizeof plain);
    for (int k : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL})
        plain[k] = 0;
    SetKeyboardState(plain);
    SendMessageA(mainWindow, WM_KEYDOWN, VK_LEFT, 0);
    SendMessageA(mainWindow, WM_KEYDOWN, VK_RIGHT, 0);
    SetKeyboardState(keys);
}

// The text in movable global memory, handed to the clipboard in the ANSI
// text format.  Memory or a clipboard that cannot be had leaves the
// clipboard as it was.
void putOnClipboard(HWND owner, const std::string& text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    if (!memory)
        return;
    if (void* bytes = GlobalLock(memory)) {
        std::memcpy(bytes, text.data(), text.size());
        GlobalUnlock(memory);
    }
    if (!openClipboard(owner)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    if (!SetClipboardData(CF_TEXT, memory))
        GlobalFree(memory);
    CloseClipboard();
}

}  // namespace

void copyToClipboard(HWND owner)
{
    const std::string text = copyText();
    if (!text.empty())
        putOnClipboard(owner, text);
}

void cutToClipboard(HWND owner)
{
    copyToClipboard(owner);
    removeCutText();
}

void pasteCommand(HWND owner)
{
    if (activeView != ActiveView::DataView)
        return;
    takeSnapshot();
    if (selectionActive)
        deleteSelection(true);
    pasteFromClipboard(owner);
}

void pasteFromClipboard(HWND owner)
{
    pasteCursorKeys = sendPasteCursorKeys;
    std::string prepared;
    if (openClipboard(owner)) {
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
                try {
                    prepared = preparePasteText(text, strnlen(text, GlobalSize(data)));
                } catch (const std::bad_alloc&) {
                    prepared.clear();   // no room for the work copy: nothing is pasted
                }
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    if (!prepared.empty())
        insertPasteText(prepared);
    finishPaste();
}

void copyAddressField(HWND owner)
{
    putOnClipboard(owner, addressFieldText());
}
