#pragma once
// A set of members of an enumeration, stored as a bit pattern: bit n stands
// for the member of ordinal n.  Records write it as the bytes their layout gives.
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace foundation {

template <class E, class Bits = uint32_t>
class Flags {
  static_assert(std::is_enum_v<E>);

 public:
  constexpr Flags() = default;
  constexpr Flags(std::initializer_list<E> membres) {
    for (E m : membres) Inclut(m);
  }
  static constexpr Flags FromBits(Bits b) {
    Flags f;
    f.bits_ = b;
    return f;
  }

  constexpr bool Contient(E m) const { return (bits_ & Bit(m)) != 0; }
  constexpr void Inclut(E m) { bits_ |= Bit(m); }
  constexpr void Exclut(E m) { bits_ &= ~Bit(m); }
  constexpr void Bascule(E m, bool present) { present ? Inclut(m) : Exclut(m); }
  constexpr bool Vide() const { return bits_ == 0; }
  constexpr Bits Bits_() const { return bits_; }

  constexpr Flags operator|(Flags o) const { return FromBits(bits_ | o.bits_); }
  constexpr Flags operator&(Flags o) const { return FromBits(bits_ & o.bits_); }
  constexpr Flags operator-(Flags o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr bool operator==(const Flags&) const = default;

 private:
  static constexpr Bits Bit(E m) { return Bits(1) << static_cast<unsigned>(m); }
  Bits bits_ = 0;
};

}  // namespace foundation
