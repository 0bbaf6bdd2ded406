#include "shell/texts.h"

#include "shell/host.h"

void reportError(const char* caption, const char* text)
{
    host().beep();
    host().showError(caption, text);
}
