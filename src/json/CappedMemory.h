// The memory of one script engine heap: allocations are refused beyond a fixed cap, and every
// block still held can be released at once, even when the engine can no longer do it.
#pragma once

#include <cstddef>

namespace tavelo {

class CappedMemory {
public:
    explicit CappedMemory(std::size_t cap) : cap_(cap) {}
    ~CappedMemory() { ReleaseAll(); }
    CappedMemory(const CappedMemory&) = delete;
    CappedMemory& operator=(const CappedMemory&) = delete;

    // malloc, realloc and free with the cap applied: nullptr when the cap would be passed.
    void* Allocate(std::size_t size);
    void* Reallocate(void* block, std::size_t size);
    void Free(void* block);

    // Frees every block still allocated.
    void ReleaseAll();

    std::size_t Used() const { return used_; }
    std::size_t Cap() const { return cap_; }

private:
    struct alignas(std::max_align_t) Header {
        Header* prev;
        Header* next;
        std::size_t size;
    };

    static Header* HeaderOf(void* block) { return static_cast<Header*>(block) - 1; }
    bool Fits(std::size_t more) const { return more <= cap_ - used_; }
    void Link(Header* header);
    void Unlink(Header* header);

    std::size_t cap_;
    std::size_t used_ = 0;
    Header* first_ = nullptr;
};

}  // namespace tavelo
