// Move-only owners of OpenAL buffers and sources. Each remembers the audio
// context it was made in and frees its object only while that context is
// still the current one, so a handle that outlives AudioDevice::Close (or the
// device of another Open) is dropped harmlessly instead of freeing a stranger.
#pragma once

namespace platform::al {

// The number of the current audio context; 0 when none is open.
unsigned CurrentGeneration();

enum class Kind { Buffer, Source };

// One OpenAL buffer or source.
template <Kind K>
class Handle {
public:
    Handle() = default;
    // A new object in the current context; an empty handle when there is none
    // or OpenAL refuses (for sources: the device's source limit).
    static Handle Create();
    ~Handle() { Release(); }
    Handle(Handle&& other) noexcept : id_(other.id_), generation_(other.generation_) { other.id_ = 0; }
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Release();
            id_ = other.id_;
            generation_ = other.generation_;
            other.id_ = 0;
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    // The OpenAL name while its context is current, else 0.
    unsigned Id() const { return Valid() ? id_ : 0; }
    bool Valid() const { return id_ != 0 && generation_ == CurrentGeneration(); }
    // Frees the object (a source is stopped first) if its context is current.
    void Release();

private:
    unsigned id_ = 0;
    unsigned generation_ = 0;
};

// Create and Release are defined, for these two kinds only, in audio.cpp.
extern template class Handle<Kind::Buffer>;
extern template class Handle<Kind::Source>;

using Buffer = Handle<Kind::Buffer>;
using Source = Handle<Kind::Source>;

}  // namespace platform::al
