#pragma once

#include <cstdint>
#include <initializer_list>

// A set of up to 64 values of an enumeration whose values are 0, 1, 2, ..., as the classic
// "set of" types (TFontStyles, TAnchors, TControlStyle, TComponentState) are.
template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) {
        for (E v : values) {
            m_bits |= Bit(v);
        }
    }
    static constexpr TSet FromBits(std::uint64_t bits) {
        TSet s;
        s.m_bits = bits;
        return s;
    }

    constexpr bool Contains(E v) const { return (m_bits & Bit(v)) != 0; }
    constexpr bool Empty() const { return m_bits == 0; }
    constexpr std::uint64_t Bits() const { return m_bits; }

    constexpr TSet& Include(E v) {
        m_bits |= Bit(v);
        return *this;
    }
    constexpr TSet& Exclude(E v) {
        m_bits &= ~Bit(v);
        return *this;
    }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.m_bits | b.m_bits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.m_bits & ~b.m_bits); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.m_bits & b.m_bits); }
    friend constexpr bool operator==(TSet a, TSet b) { return a.m_bits == b.m_bits; }

private:
    static constexpr std::uint64_t Bit(E v) { return std::uint64_t{1} << static_cast<unsigned>(v); }
    std::uint64_t m_bits = 0;
};
