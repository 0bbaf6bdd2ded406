// Printing onto real pages: the program prints through Wine's PostScript
// driver to the CUPS queue that scripts/printer.sh makes, whose backend
// writes each job as a PDF into LUMO_PRINTOUTS.  The tests drive the print
// dialog and the print settings dialog with the keyboard, wait for the
// PDF, and read it back as a reader would: its text (pdftotext) and its
// pages as pictures (pdftoppm, 300 dpi, the printer's own resolution).
// Without LUMO_PRINTOUTS there is no printer to print to and the tests
// are skipped.

#include <cstdlib>
#include <filesystem>
#include <set>

#include "e2e/real_input.h"

namespace {

// The printer's resolution: one pixel of the pictures is one printer pixel.
constexpr int dotsPerInch = 300;
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

// An 8-bit grey picture read from a binary PGM file.
struct Page {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;

    bool load(const std::string& path)
    {
        std::optional<std::string> bytes = readWholeFile(path);
        if (!bytes || !bytes->starts_with("P5"))
            return false;
        size_t at = 2;
        int numbers[3] = {};
        for (int& number : numbers) {
            while (at < bytes->size() && std::isspace(static_cast<unsigned char>((*bytes)[at])))
                ++at;
            while (at < bytes->size() && std::isdigit(static_cast<unsigned char>((*bytes)[at])))
                number = number * 10 + ((*bytes)[at++] - '0');
        }
        width = numbers[0];
        height = numbers[1];
        ++at;
        if (bytes->size() < at + static_cast<size_t>(width) * height)
            return false;
        pixels.assign(bytes->begin() + static_cast<std::ptrdiff_t>(at), bytes->end());
        return true;
    }
    int at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool ink(int x, int y) const { return at(x, y) < 100; }
    int inkInRow(int y) const
    {
        int count = 0;
        for (int x = 0; x < width; ++x)
            count += ink(x, y);
        return count;
    }
    // Pixels of a grey value (within 25) in a row.
    int greyInRow(int y, int grey) const
    {
        int count = 0;
        for (int x = 0; x < width; ++x)
            count += std::abs(at(x, y) - grey) <= 25;
        return count;
    }
};

// A run of rows holding ink: one printed line.
struct Band {
    int top, bottom;     // rows, bottom included
    int left, right;     // the leftmost and rightmost ink
    int ink;             // ink pixels
    double density() const
    {
        return static_cast<double>(ink) / ((bottom - top + 1) * std::max(right - left + 1, 1));
    }
};

std::vector<Band> bandsOf(const Page& page)
{
    std::vector<Band> bands;
    int y = 0;
    while (y < page.height) {
        if (page.inkInRow(y) == 0) {
            ++y;
            continue;
        }
        Band band = {y, y, page.width, -1, 0};
        for (; y < page.height && page.inkInRow(y) > 0; ++y) {
            band.bottom = y;
            for (int x = 0; x < page.width; ++x) {
                if (page.ink(x, y)) {
                    band.left = std::min(band.left, x);
                    band.right = std::max(band.right, x);
                    ++band.ink;
                }
            }
        }
        bands.push_back(band);
    }
    // The dots of an umlaut stand apart above their letter: a band much
    // lower than the others joins the band below it.
    if (bands.size() < 3)
        return bands;
    std::vector<int> heights;
    for (const Band& band : bands)
        heights.push_back(band.bottom - band.top + 1);
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    const int median = heights[heights.size() / 2];
    std::vector<Band> joined;
    for (size_t i = 0; i < bands.size(); ++i) {
        Band band = bands[i];
        if (band.bottom - band.top + 1 < median / 2 && i + 1 < bands.size() && bands[i + 1].top - band.bottom < median) {
            Band& next = bands[i + 1];
            next.top = band.top;
            next.left = std::min(next.left, band.left);
            next.right = std::max(next.right, band.right);
            next.ink += band.ink;
            continue;
        }
        joined.push_back(band);
    }
    return joined;
}

// A double rule: a row of light grey (190) right above a row of darker grey
// (140), both from `left` to the page's right edge.
struct Rule {
    int y;      // the darker row
    int left;   // where the light row begins
};

std::vector<Rule> rulesOf(const Page& page)
{
    std::vector<Rule> rules;
    for (int y = 1; y < page.height; ++y) {
        if (page.greyInRow(y, 140) < page.width / 2 || page.greyInRow(y - 1, 190) < page.width / 2)
            continue;
        int left = 0;
        while (left < page.width && std::abs(page.at(left, y - 1) - 190) > 25)
            ++left;
        rules.push_back({y, left});
    }
    return rules;
}

// The mean length of the horizontal runs of ink in a band: the width of
// the strokes, larger for bold type whatever the text says.
double strokeWidth(const Page& page, const Band& band)
{
    long runs = 0, pixels = 0;
    for (int y = band.top; y <= band.bottom; ++y) {
        bool inRun = false;
        for (int x = band.left; x <= band.right; ++x) {
            const bool ink = page.ink(x, y);
            pixels += ink;
            runs += ink && !inRun;
            inRun = ink;
        }
    }
    return runs ? static_cast<double>(pixels) / runs : 0;
}

// How far the upper part of a band's glyphs lies right of the lower part,
// in pixels: the shift that best lays the ink of the one over the other.
// Upright type gives about 0, slanted type more.
int slant(const Page& page, const Band& band)
{
    const int height = band.bottom - band.top + 1;
    std::vector<int> upper(static_cast<size_t>(page.width)), lower(static_cast<size_t>(page.width));
    for (int x = band.left; x <= band.right; ++x) {
        for (int y = band.top + height / 5; y < band.top + height * 2 / 5; ++y)
            upper[static_cast<size_t>(x)] += page.ink(x, y);
        for (int y = band.top + height * 3 / 5; y < band.top + height * 4 / 5; ++y)
            lower[static_cast<size_t>(x)] += page.ink(x, y);
    }
    int best = 0;
    long bestScore = -1;
    for (int shift = -12; shift <= 12; ++shift) {
        long score = 0;
        for (int x = band.left; x <= band.right; ++x)
            if (x + shift >= 0 && x + shift < page.width)
                score += static_cast<long>(upper[static_cast<size_t>(x + shift)]) * lower[static_cast<size_t>(x)];
        if (score > bestScore) {
            bestScore = score;
            best = shift;
        }
    }
    return best;
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
        HWND printDialog = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (printDialog = dialogHolding(lumo.id, printerComboId)) != nullptr; },
                              waitLimitMs, &lumo))
            << "the print dialog did not open";
        ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == printDialog; }, waitLimitMs, &lumo));
        pressKey(VK_RETURN);
        HWND settings = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (settings = dialogHolding(lumo.id, IDC_PRINT_OK)) != nullptr; },
                              waitLimitMs, &lumo))
            << "the print settings did not open";
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

    // The pages as grey pictures, and as PNG files beside them to look at.
    std::vector<Page> pagesOf(const std::string& pdf)
    {
        const std::string base = folderUnix + "/" + pdf;
        const std::string dpi = " -r " + std::to_string(dotsPerInch);
        EXPECT_TRUE(runUnix("/usr/bin/pdftoppm" + dpi + " -gray -aa no -aaVector no '" + base + "' '" + base + "'", folderUnix));
        EXPECT_TRUE(runUnix("/usr/bin/pdftoppm -r 100 -png '" + base + "' '" + base + "'", folderUnix));
        std::vector<Page> pages;
        for (int number = 1; number < 100; ++number) {
            Page page;
            bool loaded = false;
            for (const char* digits : {"%d", "%02d", "%03d"}) {
                char suffix[16];
                std::snprintf(suffix, sizeof suffix, digits, number);
                // The grey pictures are large; the PNGs stay to be looked at.
                const std::string path = windowsPathOf(base + "-" + suffix + ".pgm");
                loaded = page.load(path);
                DeleteFileA(path.c_str());
                if (loaded)
                    break;
            }
            if (!loaded)
                break;
            pages.push_back(std::move(page));
        }
        return pages;
    }
};

TEST_F(Printing, ThreeMarkedEntriesWithHeadlineAndLeftBorderThree)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    pressKey(VK_HOME, {VK_CONTROL});
    pressKey(VK_DOWN, {VK_SHIFT});
    pressKey(VK_DOWN, {VK_SHIFT});
    pressKey('C', {VK_CONTROL});
    std::string marked;
    ASSERT_TRUE(waitUntil([&] { return !(marked = clipboardText().value_or("")).empty(); }, waitLimitMs, &lumo));
    ASSERT_EQ(entriesOf(marked).size(), 3u);

    ASSERT_NO_FATAL_FAILURE(printWithSettings("3", "1", "Kundenliste"));
    const std::string pdf = waitForPrintout();
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived in " << folder;

    // The text: headline, the dated footer, then the three entries line by line.
    std::vector<std::string> expected = {"Kundenliste", "(Stand: " + today()};
    for (const std::string& line : textLines(marked))
        expected.push_back(line);
    std::vector<std::string> printed = textLines(textOf(pdf));
    ASSERT_EQ(printed.size(), expected.size()) << textOf(pdf);
    for (size_t i = 0; i < printed.size(); ++i) {
        if (i == 1) {
            EXPECT_TRUE(printed[1].starts_with(expected[1])) << printed[1];
            EXPECT_TRUE(printed[1].ends_with(", ORDANE-Lumo)")) << printed[1];
        } else {
            EXPECT_EQ(printed[i], expected[i]);
        }
    }

    std::vector<Page> pages = pagesOf(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const Page& page = pages[0];
    std::vector<Band> bands = bandsOf(page);
    std::vector<Rule> rules = rulesOf(page);
    const size_t lineCount = expected.size();
    ASSERT_EQ(bands.size(), lineCount) << "one band of ink per printed line";
    ASSERT_EQ(rules.size(), 3u) << "a double rule after each entry";

    // Row pitch H from two plain lines of the first entry.
    const int h = bands[3].top - bands[2].top;
    ASSERT_GT(h, 10);
    // Headline at row 1 (top border 1), the footer right under it, the
    // body two rows lower.
    EXPECT_NEAR(bands[0].top, h, h / 2);
    EXPECT_NEAR(bands[1].top - bands[0].top, h, h / 3);
    EXPECT_NEAR(bands[2].top - bands[1].top, 2 * h, h / 3);

    // The rules start at the left border, three digit widths in; the text
    // starts there too.  A digit is about half a line high.
    const int indent = rules[0].left;
    EXPECT_GT(indent, 3 * h / 5);
    EXPECT_LT(indent, 3 * h);
    for (const Band& band : bands)
        EXPECT_NEAR(band.left, indent, h / 4);

    // Each entry's first line is bold: thicker strokes than the line after
    // it.  Between entries one empty row, the rule in its middle.
    size_t line = 2;
    for (const Rule& rule : rules) {
        EXPECT_GT(strokeWidth(page, bands[line]), 1.25 * strokeWidth(page, bands[line + 1]))
            << "line " << line << " is not bold";
        while (line < bands.size() && bands[line].bottom < rule.y)
            ++line;
        ASSERT_GT(line, 2u);
        EXPECT_GT(rule.y, bands[line - 1].bottom);
        if (line < bands.size()) {
            EXPECT_LT(rule.y, bands[line].top);
            EXPECT_NEAR(bands[line].top - bands[line - 1].top, 2 * h, h / 3);
        }
    }
    // The headline is heavier still than a plain line; the footer is
    // slanted, the headline upright.
    EXPECT_GT(strokeWidth(page, bands[0]), 1.25 * strokeWidth(page, bands[3]));
    EXPECT_LE(std::abs(slant(page, bands[0])), 1);
    EXPECT_GE(slant(page, bands[1]), 2) << "the footer is not italic";

    quitWithoutSaving();
    // The margins are kept in the settings file; 300 would have been 44.
    ASSERT_TRUE(readSettingsFile(settingsPath));
    EXPECT_EQ(printLeftBorder, 3);
    EXPECT_EQ(printTopBorder, 1);
}

TEST_F(Printing, AllEntriesRunOverSeveralPagesWithoutLosingALine)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    pressKey('A', {VK_CONTROL});
    pressKey('C', {VK_CONTROL});
    std::string all;
    ASSERT_TRUE(waitUntil([&] { return !(all = clipboardText().value_or("")).empty(); }, waitLimitMs, &lumo));

    // A margin typed as 300 is kept as 44; no headline.
    ASSERT_NO_FATAL_FAILURE(printWithSettings("0", "300", ""));
    const std::string pdf = waitForPrintout();
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived in " << folder;

    // Every line once, in order, over the pages; only the first page has
    // the footer line, and it comes first.
    const std::string text = textOf(pdf);
    std::vector<std::string> printed = textLines(text);
    std::vector<std::string> expected = textLines(all);
    ASSERT_EQ(printed.size(), expected.size() + 1);
    EXPECT_TRUE(printed[0].starts_with("(Stand: " + today())) << printed[0];
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(printed[i + 1], expected[i]);

    std::vector<Page> pages = pagesOf(pdf);
    ASSERT_GE(pages.size(), 2u);
    // Top border 44 rows: the first page's head starts far down; later
    // pages start their body at row 44 as well, with no head.
    std::vector<Band> first = bandsOf(pages[0]), second = bandsOf(pages[1]);
    ASSERT_GE(first.size(), 3u);
    ASSERT_GE(second.size(), 2u);
    const int h = first[2].top - first[1].top;
    EXPECT_NEAR(first[0].top, 44 * h, h);
    EXPECT_NEAR(second[0].top, 44 * h, h);
    EXPECT_LT(first[0].left, h) << "left border 0";

    quitWithoutSaving();
    ASSERT_TRUE(readSettingsFile(settingsPath));
    EXPECT_EQ(printTopBorder, 44);
}

}  // namespace
