// Move-only owners of OpenAL buffers and sources. Each remembers the audio
// context it was made in and frees its object only while that context is
// still the current one, so a handle that outlives AudioDevice::Close (or the
// device of another Open) is dropped harmlessly instead of freeing a stranger.
#pragma once

namespace platform::al {

// The number of the current audio context; 0 when none is open.
unsigned CurrentGeneration();

class Buffer {
public:
    Buffer() = default;
    // A new buffer in the current context; an empty handle when there is none.
    static Buffer Create();
    ~Buffer() { Release(); }
    Buffer(Buffer&& other) noexcept : id_(other.id_), generation_(other.generation_) { other.id_ = 0; }
    Buffer& operator=(Buffer&& other) noexcept {
        if (this != &other) {
            Release();
            id_ = other.id_;
            generation_ = other.generation_;
            other.id_ = 0;
        }
        return *this;
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    // The OpenAL name while its context is current, else 0.
    unsigned Id() const { return Valid() ? id_ : 0; }
    bool Valid() const { return id_ != 0 && generation_ == CurrentGeneration(); }
    void Release();

private:
    unsigned id_ = 0;
    unsigned generation_ = 0;
};

class Source {
public:
    Source() = default;
    static Source Create();
    ~Source() { Release(); }
    Source(Source&& other) noexcept : id_(other.id_), generation_(other.generation_) { other.id_ = 0; }
    Source& operator=(Source&& other) noexcept {
        if (this != &other) {
            Release();
            id_ = other.id_;
            generation_ = other.generation_;
            other.id_ = 0;
        }
        return *this;
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    unsigned Id() const { return Valid() ? id_ : 0; }
    bool Valid() const { return id_ != 0 && generation_ == CurrentGeneration(); }
    void Release();

private:
    unsigned id_ = 0;
    unsigned generation_ = 0;
};

}  // namespace platform::al
