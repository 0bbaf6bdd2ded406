// Printing onto real pages: the program prints through Wine's PostScript
// driver to the CUPS queue that scripts/printer.sh makes, whose backend
// writes each job as a PDF into LUMO_PRINTOUTS.  The tests drive the print
// dialog and the print settings dialog with the keyboard, wait for the
// PDF, and read it back as a reader would: its text (pdftotext) and its
// page as a picture (pdftoppm, 300 dpi, the printer's own resolution).
// Without LUMO_PRINTOUTS there is no printer to print to and the tests
// are skipped.

#include <cstdlib>
#include <filesystem>
#include <set>

#include "e2e/real_input.h"

namespace {

// The print dialog's printer list.
constexpr int printerComboId = 0x473;

std::string printoutsUnix()
{
    const char* folder = std::getenv("LUMO_PRINTOUTS");
    return folder ? folder : "";
}

std::set<std::string> pdfsIn(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error))
        if (item.path().extension() == ".pdf")
            names.insert(item.path().filename().string());
    return names;
}

// Runs a Unix shell command in folder (a Unix path); true when it ended
// with 0.  Wine starts Unix programs without a process to wait on, so the
// command leaves its exit status in a file, written last.
bool runUnix(const std::string& command, const std::string& folder)
{
    static int runs = 0;
    const std::string status = folder + "/run-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    ChildProcess shell = startProcess("Z:\\bin\\sh -c \"" + command + "; echo $? >" + status + ".tmp && mv " + status +
                                          ".tmp " + status + "\"",
                                      "C:\\");
    endProcess(shell);
    std::string code;
    waitUntil([&] { return !(code = readWholeFile(windowsPathOf(status)).value_or("")).empty(); }, 60000);
    DeleteFileA(windowsPathOf(status).c_str());
    return code == "0\n";
}

// UTF-8 text as Windows-1252; the soft hyphen that PDF text extraction
// makes of a printed hyphen is a hyphen again.
std::string windows1252(const std::string& utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
    for (wchar_t& c : wide)
        if (c == 0xAD)
            c = L'-';
    std::string narrow(wide.size() * 2 + 1, '\0');
    narrow.resize(static_cast<size_t>(WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                                                          static_cast<int>(narrow.size()), nullptr, nullptr)));
    return narrow;
}

// The rows of a page picture (binary PGM, 8-bit grey, printed at the
// printer's 300 dpi) where a double rule runs: a light grey row (190) over
// a darker one (140), each across more than half the page.
int doubleRules(const std::string& pgm)
{
    size_t at = 2;
    int numbers[3] = {};
    for (int& number : numbers) {
        while (at < pgm.size() && std::isspace(static_cast<unsigned char>(pgm[at])))
            ++at;
        while (at < pgm.size() && std::isdigit(static_cast<unsigned char>(pgm[at])))
            number = number * 10 + (pgm[at++] - '0');
    }
    const int width = numbers[0], height = numbers[1];
    if (!pgm.starts_with("P5") || pgm.size() < ++at + static_cast<size_t>(width) * height)
        return -1;
    auto greyRow = [&](int y, int grey) {
        int count = 0;
        for (int x = 0; x < width; ++x)
            count += std::abs(static_cast<unsigned char>(pgm[at + static_cast<size_t>(y) * width + x]) - grey) <= 25;
        return count > width / 2;
    };
    int rules = 0;
    for (int y = 1; y < height; ++y)
        rules += greyRow(y - 1, 190) && greyRow(y, 140);
    return rules;
}

std::string today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[16];
    std::snprintf(date, sizeof date, "%02d/%02d/%04d", now.wDay, now.wMonth, now.wYear);
    return date;
}

// The non-empty lines of a text, trailing blanks and form feeds removed.
std::vector<std::string> textLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::string line : splitLines(text)) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\f'))
            line.pop_back();
        while (!line.empty() && line.front() == '\f')
            line.erase(0, 1);
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

class Printing : public RealInput {
protected:
    std::string folderUnix;
    std::string folder;   // the same, as Wine names it
    std::set<std::string> before;

    void SetUp() override
    {
        RealInput::SetUp();
        folderUnix = printoutsUnix();
        if (folderUnix.empty())
            GTEST_SKIP() << "no printer: run scripts/printer.sh and set LUMO_PRINTOUTS";
        folder = windowsPathOf(folderUnix);
        before = pdfsIn(folder);
    }

    // Ctrl+P, the print dialog's default printer taken with Enter, then the
    // print settings typed into their fields.
    void printWithSettings(const std::string& left, const std::string& top, const std::string& headline)
    {
        pressKey('P', {VK_CONTROL});
        HWND printDialog = waitForDialog(printerComboId);
        ASSERT_TRUE(printDialog) << "the print dialog did not open";
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == printDialog; }, waitLimitMs, &lumo));
        pressKey(VK_RETURN);
        HWND settings = waitForDialog(IDC_PRINT_OK);
        ASSERT_TRUE(settings) << "the print settings did not open";
        EXPECT_EQ(windowText(settings), "Drucken");   // the German template
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == settings; }, waitLimitMs, &lumo));
        // The first field has the keys, its text selected.
        typeText(left);
        pressKey(VK_TAB);
        typeText(top);
        pressKey(VK_TAB);
        typeText(headline);
        pressKey(VK_RETURN);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(settings); }, waitLimitMs, &lumo));
    }

    // The PDF of the job just printed, once its writer has finished it.
    std::string waitForPrintout()
    {
        std::string found;
        waitUntil(
            [&] {
                for (const std::string& name : pdfsIn(folder)) {
                    if (before.count(name))
                        continue;
                    std::string bytes = readWholeFile(folder + "\\" + name).value_or("");
                    if (bytes.starts_with("%PDF") && bytes.find("%%EOF", bytes.size() > 64 ? bytes.size() - 64 : 0) !=
                                                         std::string::npos)
                        found = name;
                }
                return !found.empty();
            },
            60000, &lumo);
        return found;
    }

    // Text of the PDF in Windows-1252, pages separated by form feeds.
    std::string textOf(const std::string& pdf)
    {
        const std::string out = folderUnix + "/" + pdf + ".txt";
        EXPECT_TRUE(runUnix("/usr/bin/pdftotext -layout -enc UTF-8 '" + folderUnix + "/" + pdf + "' '" + out + "'", folderUnix));
        return windows1252(readWholeFile(windowsPathOf(out)).value_or(""));
    }

    // The first page as a grey picture at 300 dpi, and as a PNG beside the
    // PDF to look at; the number of double rules on it.
    int rulesOnFirstPage(const std::string& pdf)
    {
        const std::string base = folderUnix + "/" + pdf;
        EXPECT_TRUE(runUnix("/usr/bin/pdftoppm -r 300 -gray -aa no -aaVector no -f 1 -l 1 -singlefile '" + base + "' '" +
                                base + "' && /usr/bin/pdftoppm -r 100 -png '" + base + "' '" + base + "'",
                            folderUnix));
        const std::string picture = windowsPathOf(base + ".pgm");
        const int rules = doubleRules(readWholeFile(picture).value_or(""));
        DeleteFileA(picture.c_str());
        return rules;
    }
};

// Three marked entries on one page: the headline, the dated footer, the
// entries line by line, a double rule after each; the margins typed are kept.
TEST_F(Printing, MarkedEntriesWithHeadline)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    pressKey(VK_HOME, {VK_CONTROL});
    pressKey(VK_DOWN, {VK_SHIFT});
    pressKey(VK_DOWN, {VK_SHIFT});
    const std::string marked = copy();
    ASSERT_EQ(entriesOf(marked).size(), 3u);

    ASSERT_NO_FATAL_FAILURE(printWithSettings("3", "1", "Kundenliste"));
    const std::string pdf = waitForPrintout();
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived in " << folder;

    std::vector<std::string> expected = {"Kundenliste", "(Stand: " + today()};
    for (const std::string& line : textLines(marked))
        expected.push_back(line);
    const std::string text = textOf(pdf);
    std::vector<std::string> printed = textLines(text);
    ASSERT_EQ(printed.size(), expected.size()) << text;
    EXPECT_TRUE(printed[1].starts_with(expected[1]) && printed[1].ends_with(", ORDANE-Lumo)")) << printed[1];
    printed[1] = expected[1];
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "not one page";
    EXPECT_EQ(rulesOnFirstPage(pdf), 3) << "a double rule after each entry";

    quitWithoutSaving();
    ASSERT_TRUE(readSettingsFile(settingsPath));
    EXPECT_EQ(printLeftBorder, 3);
    EXPECT_EQ(printTopBorder, 1);
}

}  // namespace
