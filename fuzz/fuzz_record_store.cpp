// A received record copied and dispatched into a scratch store, in both modes;
// then the same record again, which must replace rather than break the files.
#include "fuzz_support.h"
#include "fsys.h"
#include "record_writers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    static int runs = 0;
    if (++runs % 64 == 0) fuzz::clearScratch();
    if (size == 0) return 0;
    const DispatchMode mode = data[0] & 1 ? DispatchMode::Conversion : DispatchMode::Registration;
    const std::string_view record = fuzz::asView(data + 1, size - 1);
    try {
        RecordWriters writers(StorePaths(fuzz::scratch() + "data/"));
        for (int pass = 0; pass < 2; ++pass) (void)writers.store(record, static_cast<long>(record.size()), 0, mode);
    } catch (const IoError&) {
        // A path the record names that cannot be written is reported, not a fault.
    }
    return 0;
}
