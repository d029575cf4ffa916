// stb's image reader and PNG writer, compiled here with allocations that
// honour the current DecodeBudget.
#include "platform/stbimage.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// 0: no budget.
thread_local std::size_t budget = 0;

void* BudgetedMalloc(std::size_t size) {
    if (budget != 0 && size > budget) return nullptr;
    return std::malloc(size);
}

void* BudgetedRealloc(void* memory, std::size_t size) {
    if (budget != 0 && size > budget) return nullptr;
    return std::realloc(memory, size);
}

}  // namespace

namespace platform {

DecodeBudget::DecodeBudget(std::size_t bytes) : saved_(budget) { budget = bytes; }

DecodeBudget::~DecodeBudget() { budget = saved_; }

bool JpegHuffmanTablesSound(std::string_view file) {
    const auto byte = [&](std::size_t at) -> unsigned { return at < file.size() ? std::uint8_t(file[at]) : 0; };
    bool defined[2][4] = {};  // [DC, AC][table number]
    bool progressive = false;
    std::size_t at = 2;  // past the start-of-image marker
    while (at + 1 < file.size()) {
        if (byte(at) != 0xFF) {
            ++at;  // not at a marker: damage, or the entropy-coded data of a scan
            continue;
        }
        const unsigned marker = byte(at + 1);
        // Fill bytes, stuffed zeros and restart markers stand alone.
        if (marker == 0xFF || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xD9 || at + 3 >= file.size()) return true;  // end of image
        const std::size_t length = std::size_t(byte(at + 2)) << 8 | byte(at + 3);
        const std::size_t end = std::min(file.size(), at + 2 + length);
        if (marker == 0xC2) progressive = true;
        if (marker == 0xC4) {
            // Tables: a class and number byte, 16 counts, then the codes. The
            // reader takes a table that starts inside the segment whole, even
            // where it runs past the segment's end, so this does too.
            for (std::size_t table = at + 4; table < end;) {
                std::size_t codes = 0;
                for (std::size_t i = table + 1; i <= table + 16; ++i) codes += byte(i);
                if (codes > 256) return false;
                const unsigned kind = byte(table) >> 4, number = byte(table) & 15;
                if (kind <= 1 && number <= 3) defined[kind][number] = true;
                table += 17 + codes;
            }
        }
        if (marker == 0xDA) {
            // A scan: its components with their tables, then the spectral
            // range and the approximation bits. A baseline scan decodes with
            // both tables; a progressive one with the DC table in a first DC
            // scan and the AC table in an AC scan.
            const unsigned components = byte(at + 4);
            const std::size_t range = at + 5 + 2 * std::size_t(components);
            const bool dcFirst = byte(range) == 0 && (byte(range + 2) >> 4) == 0;
            const bool usesDc = !progressive || dcFirst;
            const bool usesAc = !progressive || byte(range) > 0;
            for (unsigned c = 0; c < components; ++c) {
                const unsigned tables = byte(at + 6 + 2 * std::size_t(c));
                const unsigned dc = tables >> 4, ac = tables & 15;
                if (usesDc && dc <= 3 && !defined[0][dc]) return false;
                if (usesAc && ac <= 3 && !defined[1][ac]) return false;
            }
        }
        at = end;
    }
    return true;
}

}  // namespace platform

#define STBI_MALLOC(size) BudgetedMalloc(size)
#define STBI_REALLOC(memory, size) BudgetedRealloc(memory, size)
#define STBI_FREE(memory) std::free(memory)
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#define STBIW_MALLOC(size) std::malloc(size)
#define STBIW_REALLOC(memory, size) std::realloc(memory, size)
#define STBIW_FREE(memory) std::free(memory)
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
