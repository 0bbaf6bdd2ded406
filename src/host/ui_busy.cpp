#include "host/ui_busy.h"

bool uiBusy = false;
