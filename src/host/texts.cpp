#include "host/texts.h"

#include "host/host.h"

void reportError(const char* caption, const char* text)
{
    host().beep();
    host().showError(caption, text);
}
