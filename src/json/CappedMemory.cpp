#include "json/CappedMemory.h"

#include <cstdlib>

namespace tavelo {

void* CappedMemory::Allocate(std::size_t size) {
    if (!Fits(size) || size > static_cast<std::size_t>(-1) - sizeof(Header)) {
        return nullptr;
    }
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
    if (header == nullptr) {
        return nullptr;
    }
    header->size = size;
    Link(header);
    used_ += size;
    return header + 1;
}

void* CappedMemory::Reallocate(void* block, std::size_t size) {
    if (block == nullptr) {
        return Allocate(size);
    }
    if (size == 0) {
        Free(block);
        return nullptr;
    }
    Header* header = HeaderOf(block);
    const std::size_t old = header->size;
    if ((size > old && !Fits(size - old)) || size > static_cast<std::size_t>(-1) - sizeof(Header)) {
        return nullptr;
    }
    // The block may move: take it out of the list first and put it back wherever it lands.
    Unlink(header);
    auto* moved = static_cast<Header*>(std::realloc(header, sizeof(Header) + size));
    if (moved == nullptr) {
        Link(header);
        return nullptr;
    }
    moved->size = size;
    Link(moved);
    used_ = used_ - old + size;
    return moved + 1;
}

void CappedMemory::Free(void* block) {
    if (block == nullptr) {
        return;
    }
    Header* header = HeaderOf(block);
    Unlink(header);
    used_ -= header->size;
    std::free(header);
}

void CappedMemory::ReleaseAll() {
    while (first_ != nullptr) {
        Header* header = first_;
        first_ = header->next;
        std::free(header);
    }
    used_ = 0;
}

void CappedMemory::Link(Header* header) {
    header->prev = nullptr;
    header->next = first_;
    if (first_ != nullptr) {
        first_->prev = header;
    }
    first_ = header;
}

void CappedMemory::Unlink(Header* header) {
    if (header->prev != nullptr) {
        header->prev->next = header->next;
    } else {
        first_ = header->next;
    }
    if (header->next != nullptr) {
        header->next->prev = header->prev;
    }
}

}  // namespace tavelo
