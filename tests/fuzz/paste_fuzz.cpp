// Clipboard paste into the current entry at the Data view's caret.
//
// Input: the clipboard text, NUL, then the entry number, caret line and
// caret column (one byte each), then the store's text.
#include "transfer/paste_text.h"
#include "fuzz_support.h"
#include "views/line_table.h"
#include "views/view_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t end = std::min(input.find('\0'), input.size());
    std::string clipboard(input.substr(0, end));
    input.remove_prefix(std::min(end + 1, input.size()));
    unsigned char place[3] = {};
    for (int i = 0; i < 3 && !input.empty(); ++i, input.remove_prefix(1))
        place[i] = static_cast<unsigned char>(input[0]);

    FuzzHost fuzzHost;
    setHost(&fuzzHost);
    makeStore(input.empty() ? std::string_view("Anna\r\nStreet 1\r\n\r\nBert\r\n\r\n") : input);
    resetViewState();
    if (entryCount > 0)
        cursorRow = place[0] % entryCount;
    currentEntryOffset = entryIndex[cursorRow];
    buildLineTable(1, currentEntryOffset, 0);
    caretLine = lineCount > 0 ? place[1] % lineCount : 0;
    caretColumn = place[2];

    pasteText(clipboard.c_str());
    checkStore();
    freeStore();
    setHost(nullptr);
    return 0;
}
