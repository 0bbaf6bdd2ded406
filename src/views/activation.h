// Making one of the two views the one that gets the keys.
#pragma once

// The Overview takes the keys; entries changed since the last sort are
// sorted first.
void activateOverview();

// The Data view takes the keys; a running type-ahead ends first.
void activateDataView();
