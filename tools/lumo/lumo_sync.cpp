// lumo sync [--plain | --password P] [--user NAME] [--dry-run] [--insecure-http] URL FILE
//
// Opens FILE as the program does (a FILE that does not exist yet is an
// empty book), syncs it with the address book at URL and saves FILE and
// its sync state FILE.sync, each only when it changed, each replaced only
// by a complete file.  The server password comes from LUMO_SYNC_PASSWORD
// or is asked for on the terminal; it is never written anywhere.  On any
// failure FILE and FILE.sync stay as they were.
#include "lumo_sync.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <sys/stat.h>

#include "contacts/book_exchange.h"
#include "files/address_file.h"
#include "files/safe_write.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "store/store.h"
#include "sync/sync_engine.h"

#include "password_source.h"

#ifdef _WIN32
#include "sync/winhttp_send.h"
#else
#include "curl_http.h"
#endif

namespace {

const char usageLine[] = "lumo sync [--plain | --password P] [--user NAME] [--dry-run] [--insecure-http] URL FILE\n";

constexpr int exitOk = 0;
constexpr int exitUsage = 1;
constexpr int exitFailed = 2;

int usage(const char* why)
{
    std::fprintf(stderr, "lumo: %s\nusage: %s", why, usageLine);
    return exitUsage;
}

bool readFile(const std::string& path, std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// The server password, from the environment or typed on the terminal
// without echo (the first line of standard input when that is no terminal).
bool serverPassword(const std::string& user, std::string& password)
{
    bool given = false;
    if (settlePassword(password, given, "LUMO_SYNC_PASSWORD", "", false) && given)
        return true;
    password = "-";
    given = true;
    const std::string prompt = "Password of " + user + " on the server: ";
    return settlePassword(password, given, "LUMO_SYNC_PASSWORD", prompt.c_str(), false) && given;
}

}  // namespace

int runSync(int argc, char** argv, std::string& openPassword)
{
    bool plain = false;
    SyncSettings settings;
    bool userGiven = false;
    std::vector<std::string> operands;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plain") {
            plain = true;
        } else if (arg == "--dry-run") {
            settings.dryRun = true;
        } else if (arg == "--insecure-http") {
            settings.allowInsecureHttp = true;
        } else if (arg == "--password" || arg == "--user") {
            if (i + 1 >= argc)
                return usage("option needs a value");
            if (arg == "--password") {
                openPassword = argv[++i];
            } else {
                settings.user = argv[++i];
                userGiven = true;
            }
        } else if (arg.starts_with("--")) {
            return usage("unknown option");
        } else {
            operands.push_back(arg);
        }
    }
    if (operands.size() != 2)
        return usage("expected URL and FILE");
    if (plain && !openPassword.empty())
        return usage("--plain and --password exclude each other");
    if (openPassword.size() > sizeof currentPassword - 1)
        return usage("the password has more than 19 characters");
    settings.collectionUrl = operands[0];
    const std::string& path = operands[1];
    const std::string statePath = path + ".sync";

    std::string stateText;
    struct stat info{};
    if (stat(statePath.c_str(), &info) == 0 && !readFile(statePath, stateText)) {
        std::fprintf(stderr, "lumo: cannot read %s\n", statePath.c_str());
        return exitFailed;
    }
    if (!userGiven) {
        std::string url;
        readSyncSettings(stateText, url, settings.user);
    }
    if (!settings.user.empty() && !serverPassword(settings.user, settings.password))
        return exitFailed;

    // The book as opening it in the program gives it; a new one when FILE
    // does not exist yet (protected with P when it is given).
    if (!createEmptyStore())
        return exitFailed;
    if (stat(path.c_str(), &info) == 0) {
        if (loadAddressFile(path.c_str(), LoadMode::Open, plain) != LoadResult::Loaded)
            return exitFailed;
        sortEntries();
    } else {
        std::memset(currentPassword, 0, sizeof currentPassword);
        openPassword.copy(currentPassword, sizeof currentPassword - 1);
    }
    const std::string book(reinterpret_cast<const char*>(textBuffer), static_cast<size_t>(usedBytes));

#ifdef _WIN32
    const HttpSend send = winHttpTransport(settings.allowInsecureHttp);
#else
    const HttpSend send = sendWithCurl;
#endif
    const SyncOutcome outcome = synchronise(book, stateText, settings, send);
    if (!outcome.ok) {
        std::fprintf(stderr, "lumo: sync failed: %s\n", outcome.error.c_str());
        return exitFailed;
    }
    if (outcome.bookText != book) {
        if (!loadStoreFromText(outcome.bookText))
            return exitFailed;
        sortEntries();
        if (!writeAddressFile(path.c_str())) {
            reportError(captionMain, textCannotSave);
            return exitFailed;
        }
    }
    if (outcome.stateText != stateText &&
        !writeFileSafely(statePath.c_str(), outcome.stateText.data(), outcome.stateText.size())) {
        std::fprintf(stderr, "lumo: cannot write %s; the book was saved, the next sync pairs its contacts again\n",
                     statePath.c_str());
        return exitFailed;
    }
    std::printf("%s%s\n", syncSummaryLine(outcome.summary).c_str(),
                settings.dryRun ? " (dry run: nothing changed)" : "");
    return exitOk;
}
