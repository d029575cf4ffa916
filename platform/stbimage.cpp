// stb's image reader and PNG writer, compiled here with allocations that
// honour the current DecodeBudget.
#include "platform/stbimage.h"

#include <algorithm>
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

bool JpegHuffmanTablesFit(std::string_view file) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(file[at]); };
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
        if (marker == 0xC4) {
            // Tables: a class and number byte, 16 counts, then the codes. The
            // reader takes a table that starts inside the segment whole, even
            // where it runs past the segment's end, so this does too.
            for (std::size_t table = at + 4; table < end;) {
                std::size_t codes = 0;
                for (std::size_t i = table + 1; i <= table + 16 && i < file.size(); ++i) codes += byte(i);
                if (codes > 256) return false;
                table += 17 + codes;
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
