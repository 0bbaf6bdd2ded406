#include "shell/ui_busy.h"

bool uiBusy = false;
