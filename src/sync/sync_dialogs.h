// File > Synchronise and File > Synchronisation settings: the settings
// dialog, the server password dialog, and the two commands that use them.
#pragma once

void synchroniseCommand();
// True when the settings were changed and kept.
bool syncSettingsCommand();
