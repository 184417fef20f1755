// The "WindowPos" value: any bytes scan without reading past their terminator; a value that
// scans formats and scans back to the same fields; no text is ever longer than its buffer. The
// C library's own sscanf is the reference for which texts hold ten numbers, and for the
// values of the signed fields while they fit in 32 bits (its long is wider here).
#include <memory>
#include "FuzzCheck.h"
#include "app/PlacementText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Exactly as long as the text and its terminator, so that AddressSanitizer sees any read past it.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view value = input.substr(0, input.find('\0'));
    const auto text = std::make_unique<char[]>(value.size() + 1);
    value.copy(text.get(), value.size());
    const std::optional<PlacementText> scanned = ScanPlacement(text.get());

    unsigned flags = 0, showCmd = 0;
    long n[8] = {};
    const int fields = std::sscanf(text.get(), "%u,%u,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", &flags, &showCmd, &n[0], &n[1],
                                   &n[2], &n[3], &n[4], &n[5], &n[6], &n[7]);
    Require(scanned.has_value() == (fields == 10), "ten numbers exactly when sscanf finds ten");
    if (!scanned)
        return 0;
    const std::int32_t read[8] = {scanned->minX, scanned->minY, scanned->maxX, scanned->maxY,
                                  scanned->left, scanned->top,  scanned->right, scanned->bottom};
    for (int i = 0; i < 8; ++i)
        Require(n[i] < INT32_MIN || n[i] > INT32_MAX || read[i] == n[i], "a signed field agrees with sscanf");

    const std::optional<std::string> formatted = FormatPlacement(*scanned);
    if (formatted) {
        Require(formatted->size() < kPlacementTextSize, "the text fits its buffer");
        Require(ScanPlacement(formatted->c_str()) == scanned, "the text scans back to the same fields");
    }
    return 0;
}
