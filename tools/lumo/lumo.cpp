// lumo: address files from the command line.
//
// Opens an address file exactly as the program does (load in Open mode,
// then sort) and prints its text or its headings, writes it again plain or
// protected, or removes double entries.  The core reports through a small
// host that prints its messages to standard error and answers the password
// prompt from the command line.
//
// Exit status: 0 success, 1 usage error, 2 the operation failed (the
// message the program would have shown is on standard error).  OUT is only
// ever replaced by a complete file, written the way the program saves.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "files/address_file.h"
#include "files/data_check.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "store/store.h"

namespace {

constexpr int exitOk = 0;
constexpr int exitUsage = 1;
constexpr int exitFailed = 2;

constexpr size_t maxPasswordLength = 19;

const char usageText[] =
    "usage: lumo cat [--sorted] [--plain | --password P] FILE\n"
    "       lumo list [--plain | --password P] FILE\n"
    "       lumo convert [--plain | --password P] [--new-password Q] FILE OUT\n"
    "       lumo check [--plain | --password P] FILE OUT\n"
    "       lumo --help\n"
    "\n"
    "  cat      write the text of FILE (Windows-1252, CR LF) to standard output;\n"
    "           --sorted sorts the entries first, as opening in the program does\n"
    "  list     the headings of FILE in sorted order, one per line, in UTF-8\n"
    "  convert  open FILE and save it as OUT\n"
    "  check    open FILE, remove double entries, save as OUT\n"
    "\n"
    "P answers the password prompt of a protected FILE (at most 19 characters\n"
    "are used); a plain FILE needs none.  OUT is protected as FILE was (with\n"
    "P when FILE was protected, plain when it was plain), or with Q when\n"
    "--new-password is given; an empty Q writes a plain file.  Q has at most\n"
    "19 characters.  --plain reads FILE as plain text even when it begins\n"
    "with \"P\" (a plain book whose first heading starts with P), so that\n"
    "convert --plain --new-password Q FILE OUT can protect it.\n";

// The core's view of the screen: messages go to standard error, the open
// password prompt is answered from the command line, and every question is
// answered No (the default of Host).
struct ToolHost : Host {
    std::string password;
    bool errorShown = false;

    void showError(const char* caption, const char* text) override
    {
        (void)caption;
        std::fprintf(stderr, "%s\n", text);
        errorShown = true;
    }

#ifdef _WIN32
    bool replaceFile(const char* temporary, const char* target) override
    {
        return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
#endif

    void askPassword(PasswordPrompt which, char* buffer20) override
    {
        std::memset(buffer20, 0, 20);
        if (which == PasswordPrompt::Open)
            password.copy(buffer20, maxPasswordLength);
    }
};

ToolHost toolHost;

struct Options {
    std::string command;
    bool sorted = false;
    bool plain = false;
    std::string password;
    bool newPasswordGiven = false;
    std::string newPassword;
    std::vector<std::string> files;
};

int usageError(const char* why)
{
    std::fprintf(stderr, "lumo: %s\n%s", why, usageText);
    return exitUsage;
}

// Fills options from argv; returns false with a complaint on stderr when
// the command line does not fit one of the four forms.
bool parseArguments(int argc, char** argv, Options& options)
{
    options.command = argv[1];
    const std::string& command = options.command;
    if (command != "cat" && command != "list" && command != "convert" && command != "check") {
        usageError("unknown command");
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--sorted" && command == "cat") {
            options.sorted = true;
        } else if (arg == "--plain") {
            options.plain = true;
        } else if (arg == "--password" || (arg == "--new-password" && command == "convert")) {
            if (i + 1 >= argc) {
                usageError("option needs a value");
                return false;
            }
            if (arg == "--password") {
                options.password = argv[++i];
            } else {
                options.newPasswordGiven = true;
                options.newPassword = argv[++i];
            }
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            usageError("unknown option");
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    size_t wanted = (command == "cat" || command == "list") ? 1 : 2;
    if (options.files.size() != wanted) {
        usageError(wanted == 1 ? "expected one FILE" : "expected FILE and OUT");
        return false;
    }
    if (options.plain && !options.password.empty()) {
        usageError("--plain and --password exclude each other");
        return false;
    }
    if (options.newPassword.size() > maxPasswordLength) {
        usageError("the new password has more than 19 characters");
        return false;
    }
    return true;
}

// Loads path into the store as the program's Open does; with sort, sorts it
// as the program does after opening.  False when a message was shown.
bool openBook(const std::string& path, bool sort, bool plain)
{
    if (!createEmptyStore())
        return false;
    LoadResult result = loadAddressFile(path.c_str(), LoadMode::Open, plain);
    if (result != LoadResult::Loaded || toolHost.errorShown)
        return false;
    if (sort)
        sortEntries();
    return !toolHost.errorShown;
}

// Saves the store to out as Save writes it; out is replaced only by a
// complete file.
bool saveBook(const std::string& out)
{
    if (currentPassword[0] == 0 && plainFileLooksProtected(textBuffer, usedBytes))
        std::fprintf(stderr, "lumo: %s begins with \"P\" and will be taken for a protected file; "
                             "read it with --plain\n", out.c_str());
    if (writeAddressFile(out.c_str()))
        return true;
    reportError(captionMain, textCannotSave);
    return false;
}

// Code points of the bytes 0x80 to 0x9F in Windows-1252.  The five bytes the
// code page leaves undefined map to the C1 control of the same value, as
// Windows' own conversion does, so no byte is lost.
constexpr char32_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8From1252(std::string& out, unsigned char byte)
{
    char32_t c = (byte >= 0x80 && byte < 0xA0) ? cp1252High[byte - 0x80] : byte;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool writeStdout(const void* bytes, size_t length)
{
    if (std::fwrite(bytes, 1, length, stdout) == length && std::fflush(stdout) == 0)
        return true;
    std::fprintf(stderr, "lumo: cannot write to standard output\n");
    return false;
}

int runCat(const Options& options)
{
    if (!openBook(options.files[0], options.sorted, options.plain))
        return exitFailed;
    return writeStdout(textBuffer, static_cast<size_t>(usedBytes)) ? exitOk : exitFailed;
}

int runList(const Options& options)
{
    if (!openBook(options.files[0], true, options.plain))
        return exitFailed;
    std::string out;
    for (int32_t k = 0; k < entryCount; ++k) {
        // The heading is the visible text of the first line: up to the
        // first control byte.
        for (const unsigned char* p = textBuffer + entryStart(k); *p >= 32; ++p)
            appendUtf8From1252(out, *p);
        out += '\n';
    }
    return writeStdout(out.data(), out.size()) ? exitOk : exitFailed;
}

// convert and check: open, optionally remove doubles, save as Save would.
int runSave(const Options& options)
{
    if (!openBook(options.files[0], true, options.plain))
        return exitFailed;
    if (options.command == "check")
        removeDuplicateEntries();
    if (options.newPasswordGiven) {
        std::memset(currentPassword, 0, sizeof currentPassword);
        options.newPassword.copy(currentPassword, maxPasswordLength);
    }
    return saveBook(options.files[1]) ? exitOk : exitFailed;
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The text goes out byte for byte: CR LF stays CR LF, LF is not widened.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usageText, stdout);
        return exitOk;
    }
    if (argc < 2)
        return usageError("no command given");

    Options options;
    if (!parseArguments(argc, argv, options))
        return exitUsage;
    toolHost.password = options.password;
    setHost(&toolHost);

    if (options.command == "cat")
        return runCat(options);
    if (options.command == "list")
        return runList(options);
    return runSave(options);
}
