// CSV read by lumo import: any bytes make a sound book or none, and the
// book survives an export to CSV and an import again.
#include "exchange_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHost fuzzHost;
    setHost(&fuzzHost);
    importAndRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size), ImportFormat::Csv,
                       ExportFormat::Csv);
    freeStore();
    setHost(nullptr);
    return 0;
}
