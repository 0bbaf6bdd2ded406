// The network door of the sync (sync/http.h) carried by libcurl: one
// connection kept open between requests, certificates checked.
#pragma once

#include "sync/http.h"

HttpResponse sendWithCurl(const HttpRequest& request);
