#include "password_source.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// One line of standard input without its line end; false at its end.
bool readLine(std::string& line)
{
    line.clear();
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return c != EOF || !line.empty();
}

// Turns the terminal's echo off for as long as it lives; isTerminal says
// whether standard input is a terminal at all.
class HiddenInput {
public:
    HiddenInput()
    {
#ifdef _WIN32
        input_ = GetStdHandle(STD_INPUT_HANDLE);
        isTerminal = GetConsoleMode(input_, &mode_) != 0;
        if (isTerminal)
            SetConsoleMode(input_, mode_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
#else
        isTerminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &mode_) == 0;
        if (isTerminal) {
            termios quiet = mode_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
#endif
    }
    ~HiddenInput()
    {
        if (!isTerminal)
            return;
#ifdef _WIN32
        SetConsoleMode(input_, mode_);
#else
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &mode_);
#endif
    }
    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

    bool isTerminal = false;

private:
#ifdef _WIN32
    HANDLE input_;
    DWORD mode_ = 0;
#else
    termios mode_{};
#endif
};

// Asks on the terminal; the typed line is not shown.
bool askHidden(const char* prompt, bool isTerminal, std::string& answer)
{
    if (isTerminal) {
        std::fputs(prompt, stderr);
        std::fflush(stderr);
    }
    const bool got = readLine(answer);
    if (isTerminal)
        std::fputc('\n', stderr);
    return got;
}

}  // namespace

bool settlePassword(std::string& value, bool& given, const char* variable, const char* prompt, bool confirm)
{
    if (!given) {
        const char* fromEnvironment = std::getenv(variable);
        given = fromEnvironment && *fromEnvironment;
        if (given)
            value = fromEnvironment;
        return true;
    }
    if (value != "-")
        return true;

    HiddenInput input;
    if (!askHidden(prompt, input.isTerminal, value)) {
        std::fprintf(stderr, "lumo: no password could be read\n");
        return false;
    }
    std::string again;
    if (confirm && input.isTerminal && (!askHidden("Once more: ", true, again) || again != value)) {
        std::fprintf(stderr, "lumo: the two passwords differ\n");
        return false;
    }
    return true;
}
