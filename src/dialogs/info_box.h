// The modeless info box with the version line over a picture.
#pragma once

// Opens the box centred on the mouse pointer, or shows it again where it is.
void showInfoBox();
