// Contact files read by lumo import, the same bytes as vCards and as CSV:
// any bytes make a sound book or none, and the book survives an export to
// the same format and an import again.
#include "exchange_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHost fuzzHost;
    setHost(&fuzzHost);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    importAndRoundTrip(bytes, ImportFormat::VCard, ExportFormat::VCard3);
    freeStore();
    importAndRoundTrip(bytes, ImportFormat::Csv, ExportFormat::Csv);
    freeStore();
    setHost(nullptr);
    return 0;
}
