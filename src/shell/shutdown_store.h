// The platform-independent half of the shutdown: the configuration, the
// last save (or the question about it), and releasing the store.
#pragma once

void shutdownStore();
