// lumo: address files from the command line.
//
// Opens an address file exactly as the program does (load in Open mode,
// then sort) and prints its text or its headings, writes it again plain or
// protected, removes double entries, or exports it as vCards or CSV; and
// builds an address file from vCards or CSV.  The core reports through a small
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
#endif

#include "contacts/book_exchange.h"
#include "contacts/utf8.h"
#include "files/address_file.h"
#include "files/data_check.h"
#include "files/safe_write.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "lumo_sync.h"
#include "store/store.h"
#include "password_source.h"

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
    "       lumo export [--plain | --password P] [--format vcard3|vcard4|csv] FILE OUT\n"
    "       lumo import [--format vcard|csv] [--no-transliterate] [--lenient] [--password P] IN OUT\n"
    "       lumo sync [--plain | --password P] [--user NAME] [--dry-run] [--insecure-http] URL FILE\n"
    "       lumo --help\n"
    "\n"
    "  cat      write the text of FILE (Windows-1252, CR LF) to standard output;\n"
    "           --sorted sorts the entries first, as opening in the program does\n"
    "  list     the headings of FILE in sorted order, one per line, in UTF-8\n"
    "  convert  open FILE and save it as OUT\n"
    "  check    open FILE, remove double entries, save as OUT\n"
    "  export   write the entries of FILE as vCards 3.0 (the default) or 4.0,\n"
    "           or as CSV, in UTF-8, to OUT (\"-\": standard output)\n"
    "  import   make the address file OUT from the vCards (2.1, 3.0, 4.0) or\n"
    "           CSV in IN (\"-\": standard input), sorted as the program sorts;\n"
    "           --password P protects OUT with P.  Without --format, IN is\n"
    "           read as vCards when it begins with BEGIN:VCARD, else as CSV.\n"
    "           Characters an address file cannot hold become the nearest\n"
    "           letters it can (an S for an S with cedilla), \"?\" when there\n"
    "           are none or with --no-transliterate.\n"
    "           A CSV quote never closed fails, naming its line; --lenient\n"
    "           joins the rest of the file into that field and says so\n"
    "  sync     two-way sync of FILE with the CardDAV address book at URL; the\n"
    "           server password comes from LUMO_SYNC_PASSWORD or is asked for;\n"
    "           --dry-run tells what would happen and changes nothing\n"
    "\n"
    "P answers the password prompt of a protected FILE (at most 19 characters\n"
    "are used); a plain FILE needs none.  OUT is protected as FILE was (with\n"
    "P when FILE was protected, plain when it was plain), or with Q when\n"
    "--new-password is given; an empty Q writes a plain file.  Q has at most\n"
    "19 characters.  --plain reads FILE as plain text even when it begins\n"
    "with \"P\" (a plain book whose first heading starts with P), so that\n"
    "convert --plain --new-password Q FILE OUT can protect it.\n"
    "\n"
    "Passwords on the command line can be seen by other users of the machine.\n"
    "Better: P or Q given as \"-\" is asked for on the terminal without being\n"
    "shown (or read as the first line of standard input when that is no\n"
    "terminal); without --password and --new-password, the environment\n"
    "variables LUMO_PASSWORD and LUMO_NEW_PASSWORD give them when set.\n"
    "The protection is a scrambling that keeps casual readers out, not\n"
    "encryption: do not rely on it against anyone who really tries.\n"
    "\n"
    "OUT is replaced only by a complete file, with the rights of the old one;\n"
    "a read-only OUT is not written (exit 2).  A link is followed: the file it\n"
    "leads to is replaced.\n";

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
    std::string format;
    std::vector<std::string> files;
    ImportOptions import;
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
    if (command != "cat" && command != "list" && command != "convert" && command != "check" &&
        command != "export" && command != "import") {
        usageError("unknown command");
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--sorted" && command == "cat") {
            options.sorted = true;
        } else if (arg == "--plain" && command != "import") {
            options.plain = true;
        } else if (arg == "--no-transliterate" && command == "import") {
            options.import.transliterate = false;
        } else if (arg == "--lenient" && command == "import") {
            options.import.lenient = true;
        } else if (arg == "--password" || (arg == "--new-password" && command == "convert") ||
                   (arg == "--format" && (command == "export" || command == "import"))) {
            if (i + 1 >= argc) {
                usageError("option needs a value");
                return false;
            }
            if (arg == "--password") {
                options.password = argv[++i];
            } else if (arg == "--format") {
                options.format = argv[++i];
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
    bool passwordGiven = !options.password.empty();
    if ((!options.plain &&
         !settlePassword(options.password, passwordGiven, "LUMO_PASSWORD", "Password: ", command == "import")) ||
        (command == "convert" && !settlePassword(options.newPassword, options.newPasswordGiven, "LUMO_NEW_PASSWORD",
                                                 "New password: ", true)))
        return false;
    if (options.newPassword.size() > maxPasswordLength) {
        usageError("the new password has more than 19 characters");
        return false;
    }
    if (command == "export" && !options.format.empty() && options.format != "vcard3" &&
        options.format != "vcard4" && options.format != "csv") {
        usageError("the export format is vcard3, vcard4 or csv");
        return false;
    }
    if (command == "import" && !options.format.empty() && options.format != "vcard" && options.format != "csv") {
        usageError("the import format is vcard or csv");
        return false;
    }
    if (command == "import" && options.password.size() > maxPasswordLength) {
        usageError("the password has more than 19 characters");
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

// A read-only OUT is never replaced, although its folder would allow it.
bool refusedAsReadOnly(const std::string& out)
{
    if (!isReadOnlyTarget(out.c_str()))
        return false;
    std::fprintf(stderr, "lumo: %s is read-only; it was not written\n", out.c_str());
    return true;
}

// Saves the store to out as Save writes it; out is replaced only by a
// complete file.
bool saveBook(const std::string& out)
{
    if (refusedAsReadOnly(out))
        return false;
    if (currentPassword[0] == 0 && plainFileLooksProtected(textBuffer, usedBytes))
        std::fprintf(stderr, "lumo: %s begins with \"P\" and will be taken for a protected file; "
                             "read it with --plain\n", out.c_str());
    if (writeAddressFile(out.c_str()))
        return true;
    reportError(captionMain, textCannotSave);
    return false;
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
        const char* heading = reinterpret_cast<const char*>(textBuffer + entryStart(k));
        size_t length = 0;
        while (static_cast<unsigned char>(heading[length]) >= 32)
            ++length;
        out += utf8From1252(std::string_view(heading, length));
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

int runExport(const Options& options)
{
    if (!openBook(options.files[0], true, options.plain))
        return exitFailed;
    const ExportFormat format = options.format == "vcard4" ? ExportFormat::VCard4
                                : options.format == "csv"  ? ExportFormat::Csv
                                                           : ExportFormat::VCard3;
    const std::string out = exportEntries(format);
    const std::string& target = options.files[1];
    if (target == "-")
        return writeStdout(out.data(), out.size()) ? exitOk : exitFailed;
    if (refusedAsReadOnly(target))
        return exitFailed;
    if (writeFileSafely(target.c_str(), out.data(), out.size()))
        return exitOk;
    reportError(captionMain, textCannotSave);
    return exitFailed;
}

// The whole of a file, or of standard input for "-"; false when it cannot
// be read.
bool readInput(const std::string& path, std::string& bytes)
{
    std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    // One block of the file's size, not a string doubled as it grows.
    if (file != stdin && std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0)
            bytes.reserve(static_cast<size_t>(size));
        std::rewind(file);
    }
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    const bool ok = !std::ferror(file);
    if (file != stdin)
        std::fclose(file);
    return ok;
}

// The characters import had to replace, on standard error.
void reportReplacements(const ReplacementLog& log)
{
    if (log.count == 0)
        return;
    std::string list;
    const size_t shown = 20;
    for (size_t i = 0; i < log.characters.size() && i < shown; ++i)
        list += (i ? ", " : "") + describeCharacter(log.characters[i]);
    if (log.characters.size() > shown)
        list += ", ...";
    std::fprintf(stderr,
                 "lumo: %ld character%s that an address file cannot hold (outside Windows-1252, or read back "
                 "as German letters) replaced by \"%c\": %s\n",
                 log.count, log.count == 1 ? "" : "s", replacementCharacter, list.c_str());
}

int runImport(const Options& options)
{
    std::string bytes;
    if (!readInput(options.files[0], bytes)) {
        reportError(captionLoad, textCannotOpen);
        return exitFailed;
    }
    const ImportFormat format = options.format == "vcard" ? ImportFormat::VCard
                                : options.format == "csv" ? ImportFormat::Csv
                                                          : ImportFormat::Guess;
    ImportedBook book;
    std::string why;
    const bool read = importContacts(bytes, format, book, why, options.import);
    std::string().swap(bytes);
    for (const std::string& warning : book.warnings)
        std::fprintf(stderr, "lumo: %s: %s\n", options.files[0].c_str(), warning.c_str());
    if (!read) {
        std::fprintf(stderr, "lumo: %s: %s\n", options.files[0].c_str(), why.c_str());
        return exitFailed;
    }
    if (book.skipped > 0)
        std::fprintf(stderr, "lumo: %d contact%s without a name, firm, nickname, mail address or telephone number "
                             "skipped\n", book.skipped, book.skipped == 1 ? "" : "s");
    if (book.transliterated > 0)
        std::fprintf(stderr, "lumo: %ld character%s that an address file cannot hold written as the nearest letters\n",
                     book.transliterated, book.transliterated == 1 ? "" : "s");
    reportReplacements(book.replaced);
    const bool loaded = loadStoreFromText(book.text);
    std::string().swap(book.text);
    if (!loaded)
        return exitFailed;
    // As opening the file in the program would leave it.
    sortEntries();
    std::memset(currentPassword, 0, sizeof currentPassword);
    options.password.copy(currentPassword, maxPasswordLength);
    return saveBook(options.files[1]) ? exitOk : exitFailed;
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The text goes out byte for byte: CR LF stays CR LF, LF is not widened.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usageText, stdout);
        return exitOk;
    }
    if (argc < 2)
        return usageError("no command given");

    if (std::strcmp(argv[1], "sync") == 0) {
        setHost(&toolHost);
        return runSync(argc, argv, toolHost.password);
    }
    Options options;
    if (!parseArguments(argc, argv, options))
        return exitUsage;
    toolHost.password = options.password;
    setHost(&toolHost);

    if (options.command == "cat")
        return runCat(options);
    if (options.command == "list")
        return runList(options);
    if (options.command == "export")
        return runExport(options);
    if (options.command == "import")
        return runImport(options);
    return runSave(options);
}
