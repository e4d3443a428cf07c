// An allocator whose new elements are default-initialised: bytes of a vector grown with it
// are left as they are rather than zeroed, for buffers that are written over whole at once
// (a file read into memory). Elements given a value (`assign(n, 0)`, push_back) get it.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

template <class T> class DefaultInitAllocator : public std::allocator<T> {
public:
    template <class U> struct rebind { using other = DefaultInitAllocator<U>; };

    DefaultInitAllocator() = default;
    template <class U> DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

    template <class U>
    void construct(U* place) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Args> void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

// Bytes whose growth is not zero-filled.
using ByteBuffer = std::vector<uint8_t, DefaultInitAllocator<uint8_t>>;
