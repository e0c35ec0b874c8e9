#pragma once
// Big-endian conversion of whole runs of values between the file's bytes and memory.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cdfbytes {

inline std::uint8_t Swap(std::uint8_t v) { return v; }
inline std::uint16_t Swap(std::uint16_t v) { return __builtin_bswap16(v); }
inline std::uint32_t Swap(std::uint32_t v) { return __builtin_bswap32(v); }
inline std::uint64_t Swap(std::uint64_t v) { return __builtin_bswap64(v); }

template <class U>
inline U Big(U v) {
    if constexpr (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) return Swap(v);
    return v;
}

// n values of size sizeof(U) from big-endian bytes into out (any type of that size).
template <class U, class T>
inline void FromBig(const unsigned char* in, T* out, std::size_t n) {
    static_assert(sizeof(U) == sizeof(T));
    if constexpr (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) {
        for (std::size_t i = 0; i < n; ++i) {
            U u;
            std::memcpy(&u, in + i * sizeof(U), sizeof(U));
            u = Swap(u);
            std::memcpy(out + i, &u, sizeof(U));
        }
    } else {
        std::memcpy(out, in, n * sizeof(U));
    }
}

// n values read as big-endian bytes into their place, turned there.
template <class U, class T>
inline void FromBigInPlace(T* values, std::size_t n) {
    static_assert(sizeof(U) == sizeof(T));
    if constexpr (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && sizeof(U) > 1) {
        for (std::size_t i = 0; i < n; ++i) {
            U u;
            std::memcpy(&u, values + i, sizeof(U));
            u = Swap(u);
            std::memcpy(values + i, &u, sizeof(U));
        }
    }
}

// n values into big-endian bytes.
template <class U, class T>
inline void ToBig(const T* in, unsigned char* out, std::size_t n) {
    static_assert(sizeof(U) == sizeof(T));
    if constexpr (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) {
        for (std::size_t i = 0; i < n; ++i) {
            U u;
            std::memcpy(&u, in + i, sizeof(U));
            u = Swap(u);
            std::memcpy(out + i * sizeof(U), &u, sizeof(U));
        }
    } else {
        std::memcpy(out, in, n * sizeof(U));
    }
}

}  // namespace cdfbytes
