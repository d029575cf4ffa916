// stb's image reader and PNG writer, compiled here with allocations that
// honour the current DecodeBudget.
#include "platform/stbimage.h"

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
