// DataBuffer: a byte buffer with its length and byte reads and writes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

class DataBuffer {
public:
    explicit DataBuffer(int length = 0) : bytes_(static_cast<std::size_t>(length < 0 ? 0 : length)) {}
    explicit DataBuffer(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    int Length() const { return static_cast<int>(bytes_.size()); }
    // Out-of-range reads give 0, out-of-range writes are ignored.
    std::uint8_t PeekUByte(int offset) const { return InRange(offset) ? bytes_[static_cast<std::size_t>(offset)] : 0; }
    std::int8_t PeekByte(int offset) const { return static_cast<std::int8_t>(PeekUByte(offset)); }
    void PokeByte(int offset, int value) { if (InRange(offset)) bytes_[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value); }
    const std::uint8_t* Data() const { return bytes_.data(); }
    std::uint8_t* Data() { return bytes_.data(); }

private:
    bool InRange(int offset) const { return offset >= 0 && offset < Length(); }
    std::vector<std::uint8_t> bytes_;
};

}  // namespace platform
