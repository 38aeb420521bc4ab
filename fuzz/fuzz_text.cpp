// CP932 decoding, the UTF-8 round trip and the width mapping over any bytes.
#include <cstdlib>

#include "cp932.h"
#include "fuzz_support.h"
#include "textfn.h"
#include "widthmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    const std::string_view bytes = fuzz::asView(data, size);
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t len = 0;
        decodeChar(bytes, pos, &len);
        if (len == 0 || pos + len > bytes.size() + 1) std::abort();  // the decoder must move forward
        pos += len;
    }
    const std::string utf8 = toUtf8(bytes);
    // Text decoded without a replacement character encodes to bytes that decode to it again.
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos && toUtf8(toCp932(utf8)) != utf8) std::abort();
    const std::string half = mapToHalfWidth(bytes);
    const std::string full = mapToFullWidth(bytes);
    (void)mapToHalfWidth(full);
    (void)trimBoth(bytes);
    (void)padRight(bytes, 12);
    (void)padLeft(bytes, 12);
    (void)toIntDef(bytes, 0);
    return 0;
}
