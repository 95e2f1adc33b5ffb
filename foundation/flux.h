#pragma once
// The byte stream under every stored file: little-endian primitives with no
// framing.  Files are read whole into memory and written whole through a
// temporary file, so a failed save never leaves a half-written document.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

static_assert(std::endian::native == std::endian::little, "the stream layout assumes a little-endian machine");

class TFlux {
 public:
  virtual ~TFlux() = default;
  // Moves up to n bytes and returns how many were moved.
  virtual size_t Lit(void* dest, size_t n) = 0;
  virtual size_t Ecrit(const void* src, size_t n) = 0;
  virtual uint64_t Position() const = 0;
  virtual uint64_t Taille() const = 0;
  virtual void PlaceA(uint64_t position) = 0;
  // Bytes left to read.
  uint64_t Restant() const { return Taille() > Position() ? Taille() - Position() : 0; }
  // n items of at least `taille` bytes each fit in what is left.  When they
  // do not, the stream ends before the records it announces: that is noted
  // (FinAtteinte) for the message of a file that cannot be read.
  bool Contient(uint64_t n, uint64_t taille = 1) {
    if (taille == 0 || n <= Restant() / taille) return true;
    finAtteinte_ = true;
    return false;
  }
  // A read asked for more bytes than were left: the file ends before its
  // last record.
  bool FinAtteinte() const { return finAtteinte_; }

  // Primitives: each returns true when all its bytes were moved.
  bool EcritInteger(int32_t v) { return EcritBrut(v); }
  bool LitInteger(int32_t& v) { return LitBrut(v); }
  bool EcritReal(double v) { return EcritBrut(v); }
  bool LitReal(double& v) { return LitBrut(v); }
  bool EcritBoolean(bool v) { return EcritOctet(v ? 1 : 0); }
  bool LitBoolean(bool& v) {
    uint8_t o;
    if (!LitOctet(o)) return false;
    v = o != 0;
    return true;
  }
  bool EcritOctet(uint8_t v) { return Ecrit(&v, 1) == 1; }
  bool LitOctet(uint8_t& v) { return Lit(&v, 1) == 1; }
  bool EcritSingle(float v) { return EcritBrut(v); }
  bool LitSingle(float& v) { return LitBrut(v); }
  bool EcritInt16(int16_t v) { return EcritBrut(v); }
  bool LitInt16(int16_t& v) { return LitBrut(v); }

 protected:
  void NoteFinAtteinte() { finAtteinte_ = true; }

 private:
  template <class V>
  bool EcritBrut(V v) {
    return Ecrit(&v, sizeof v) == sizeof v;
  }
  template <class V>
  bool LitBrut(V& v) {
    V t;
    if (Lit(&t, sizeof t) != sizeof t) return false;
    v = t;
    return true;
  }

  bool finAtteinte_ = false;
};

// A stream over bytes held in memory.  Reading starts at the beginning; writing
// replaces or extends from the current position.  A limit, when set, makes
// writes past it fail (a full disk, for the tests of failing writers).
class TFluxMemoire : public TFlux {
 public:
  TFluxMemoire() = default;
  explicit TFluxMemoire(std::string octets) : octets_(std::move(octets)) {}

  size_t Lit(void* dest, size_t n) override;
  size_t Ecrit(const void* src, size_t n) override;
  uint64_t Position() const override { return position_; }
  uint64_t Taille() const override { return octets_.size(); }
  void PlaceA(uint64_t position) override { position_ = position > octets_.size() ? octets_.size() : position; }

  const std::string& Octets() const { return octets_; }
  void FixeLimite(size_t limite) { limite_ = limite; }

 private:
  std::string octets_;
  size_t position_ = 0;
  size_t limite_ = SIZE_MAX;
};

// Reads a whole file into a memory stream; false when it cannot be read.
bool ChargeFlux(const std::string& chemin, TFluxMemoire& flux);
// Writes the stream's bytes to the file through a temporary file and a rename.
bool EnregistreFlux(const std::string& chemin, const TFluxMemoire& flux);

// Texts: a 4-byte count, then the Windows-1252 bytes.  A count of 0 or less is
// the empty text.  Reading fails at once, allocating nothing, when the count
// exceeds what is left in the stream.
bool EcritChaineA(TFlux& f, std::string_view texte);
bool LitChaineA(TFlux& f, std::string& texte);
bool EcritListeChaines(TFlux& f, const std::vector<std::string>& lignes);
// Appends the texts read to the list.
bool LitListeChaines(TFlux& f, std::vector<std::string>& lignes);

}  // namespace foundation
