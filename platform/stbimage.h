// stb's image reader and PNG writer, compiled into the platform layer
// (stbimage.cpp) with the PNG and JPEG readers only, so that the sanitizer
// and fuzz builds see into the decoder and every allocation it makes can be
// held to a budget. Include <stb/stb_image.h> and <stb/stb_image_write.h> for
// the functions themselves.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// While one lives, no single allocation of the decoder on this thread may be
// larger than the given number of bytes: the allocation fails and so does
// the decode. A damaged file whose compressed data claims more output than
// its picture can hold (the decoder reads zeros past the end of the data and
// would go on filling memory) then fails at once instead of taking seconds
// and gigabytes. Budgets nest; the innermost holds.
class DecodeBudget {
public:
    explicit DecodeBudget(std::size_t bytes);
    ~DecodeBudget();
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

private:
    std::size_t saved_;
};

// False when a JPEG file defines a Huffman table of more than 256 codes
// (the reader would write past the end of its table) or decodes a scan with
// a table it never defined (the reader would search garbage); true for every
// other file (damage of any other kind is the reader's to find).
bool JpegHuffmanTablesSound(std::string_view file);

}  // namespace platform
