#pragma once
// Stored objects and the owning lists that write a count and their items, and
// re-create each item through the factory of their item class when reading.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "foundation/flux.h"

namespace foundation {

class TObjetDeListe;

// A class of stored object: its name and its factory (the virtual constructor).
struct ClasseObjet {
  std::string Nom;
  std::function<std::unique_ptr<TObjetDeListe>()> Cree;
};
using TClassObjetDeListe = const ClasseObjet*;

// The one class entry of T, made on first use.
template <class T>
TClassObjetDeListe ClasseDe() {
  static_assert(std::is_base_of_v<TObjetDeListe, T>);
  static const ClasseObjet classe{typeid(T).name(), [] { return std::unique_ptr<TObjetDeListe>(new T()); }};
  return &classe;
}

// Base of every object stored in a list of the stream.  A record is written or
// read as a chain of field operations that stops touching the stream after the
// first failure: InitES, then each Ecris.../Lis... call; each returns the
// running result.  The overloads taking a seed first set the running result to
// it.
class TObjetDeListe {
 public:
  TObjetDeListe() = default;
  TObjetDeListe(const TObjetDeListe&) = default;
  TObjetDeListe& operator=(const TObjetDeListe&) = default;
  virtual ~TObjetDeListe() = default;

  virtual bool EcritObjet(TFlux& f) = 0;
  virtual bool LitObjet(TFlux& f) = 0;

  void InitES(TFlux& f) {
    FichierObjet = &f;
    vInitES = true;
  }

  bool EcrisVariable(const void* v, size_t taille);
  bool LisVariable(void* v, size_t taille);
  bool EcrisReal(double v);
  bool LisReal(double& v);
  bool EcrisInteger(int32_t v);
  bool LisInteger(int32_t& v);
  bool EcrisBoolean(bool v);
  bool LisBoolean(bool& v);
  bool EcrisTexte(const std::string& v);
  bool LisTexte(std::string& v);
  bool EcrisOctet(uint8_t v);
  bool LisOctet(uint8_t& v);
  // Reads and drops n bytes (n at most 100) only from a file older than level
  // 500; otherwise returns the running result unchanged.
  bool LisAncien(int n);

  bool EcrisVariable(const void* v, size_t taille, bool graine) { return Graine(graine), EcrisVariable(v, taille); }
  bool LisVariable(void* v, size_t taille, bool graine) { return Graine(graine), LisVariable(v, taille); }
  bool EcrisReal(double v, bool graine) { return Graine(graine), EcrisReal(v); }
  bool LisReal(double& v, bool graine) { return Graine(graine), LisReal(v); }
  bool EcrisInteger(int32_t v, bool graine) { return Graine(graine), EcrisInteger(v); }
  bool LisInteger(int32_t& v, bool graine) { return Graine(graine), LisInteger(v); }
  bool EcrisBoolean(bool v, bool graine) { return Graine(graine), EcrisBoolean(v); }
  bool LisBoolean(bool& v, bool graine) { return Graine(graine), LisBoolean(v); }
  bool EcrisTexte(const std::string& v, bool graine) { return Graine(graine), EcrisTexte(v); }
  bool LisTexte(std::string& v, bool graine) { return Graine(graine), LisTexte(v); }

  // Enumerations: one byte, the member's ordinal.  Reading fails on an ordinal
  // that is not below the number of members.
  template <class E>
  bool EcrisEnum(E v) {
    return EcrisOctet(static_cast<uint8_t>(v));
  }
  template <class E>
  bool LisEnum(E& v, int nombreMembres) {
    uint8_t o = 0;
    const bool lu = LisOctet(o);
    if (lu && o >= nombreMembres) return ResultObjet = false;
    if (lu) v = static_cast<E>(o);
    return ResultObjet;
  }

  TFlux* FichierObjet = nullptr;
  bool vInitES = false;
  bool ResultObjet = false;
  int32_t IndexFichier = -1;
  bool Selecte = false;
  bool Marque = false;

 private:
  void Graine(bool g) {
    ResultObjet = g;
    vInitES = false;
  }
  // Runs one transfer under the chain rules.
  template <class Transfert>
  bool Chaine(Transfert transfert) {
    if (vInitES || ResultObjet) ResultObjet = FichierObjet != nullptr && transfert(*FichierObjet);
    vInitES = false;
    return ResultObjet;
  }
};

// Owning list of stored objects of one class.
class TListeFichierBase {
 public:
  explicit TListeFichierBase(TClassObjetDeListe classe) : ClasseDObjet(classe) {}
  TListeFichierBase(const TListeFichierBase&) = delete;
  TListeFichierBase& operator=(const TListeFichierBase&) = delete;
  TListeFichierBase(TListeFichierBase&&) = default;
  TListeFichierBase& operator=(TListeFichierBase&&) = default;
  virtual ~TListeFichierBase() = default;

  // Writes the count, then each item after setting its IndexFichier to its
  // position; stops at the first failure.
  virtual bool EcritListe(TFlux& f);
  // Clears the list, reads the count and creates and reads each item; an item
  // that failed stays in the list and no further item is read.  A count larger
  // than what is left in the stream fails at once.
  virtual bool LitListe(TFlux& f);

  int Count() const { return static_cast<int>(Items.size()); }
  bool Vide() const { return Items.empty(); }
  TObjetDeListe* UnObjetDeBase(int i) const {
    return (i < 0 || i >= Count()) ? nullptr : Items[static_cast<size_t>(i)].get();
  }
  // Position of the object, -1 when absent.  Constant time when the object's
  // IndexFichier is current.
  int IndexOf(const TObjetDeListe* o) const;

  // Writes the position of the object in this list, -1 for none or absent.
  bool EcritIndexObjet(TFlux& f, const TObjetDeListe* o) const;
  // Reads a position; a negative one, or one not below the count, gives none.
  // True when the 4 bytes were read.
  bool LitIndexObjetDeBase(TFlux& f, TObjetDeListe*& o) const;

  void SelectTous();
  void DeselectTous();
  void MarqueTous();
  void DemarqueTous();
  void Clear() { Items.clear(); }
  void Delete(int i);
  bool Remove(const TObjetDeListe* o);
  void Move(int depuis, int vers);
  void Exchange(int i, int j);
  // Sets each item's IndexFichier to its position.
  void Renumerote();

  TClassObjetDeListe ClasseDObjet;

 protected:
  void AjouteDeBase(std::unique_ptr<TObjetDeListe> o);
  void InsereDeBase(int i, std::unique_ptr<TObjetDeListe> o);
  std::unique_ptr<TObjetDeListe> ExtraitDeBase(int i);
  // Whether an object made by the item class fits this list.
  virtual bool AccepteClasse(const TObjetDeListe&) const { return true; }

  std::vector<std::unique_ptr<TObjetDeListe>> Items;
};

template <class T>
class TListeFichier : public TListeFichierBase {
 public:
  TListeFichier() : TListeFichierBase(ClasseDe<T>()) {}
  explicit TListeFichier(TClassObjetDeListe classe) : TListeFichierBase(classe) {}

  T* UnObjet(int i) const { return static_cast<T*>(UnObjetDeBase(i)); }
  T* operator[](int i) const { return UnObjet(i); }
  T* First() const { return UnObjet(0); }
  T* Last() const { return UnObjet(Count() - 1); }

  T* Add(std::unique_ptr<T> o) {
    T* p = o.get();
    AjouteDeBase(std::move(o));
    return p;
  }
  T* Insert(int i, std::unique_ptr<T> o) {
    T* p = o.get();
    InsereDeBase(i, std::move(o));
    return p;
  }
  std::unique_ptr<T> Extract(int i) {
    return std::unique_ptr<T>(static_cast<T*>(ExtraitDeBase(i).release()));
  }
  bool LitIndexObjet(TFlux& f, T*& o) const {
    TObjetDeListe* b = nullptr;
    const bool r = LitIndexObjetDeBase(f, b);
    o = static_cast<T*>(b);
    return r;
  }

  class iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = T*;
    using difference_type = std::ptrdiff_t;
    using pointer = T**;
    using reference = T*;
    explicit iterator(typename std::vector<std::unique_ptr<TObjetDeListe>>::const_iterator it) : it_(it) {}
    T* operator*() const { return static_cast<T*>(it_->get()); }
    iterator& operator++() {
      ++it_;
      return *this;
    }
    bool operator==(const iterator& o) const { return it_ == o.it_; }
    bool operator!=(const iterator& o) const { return it_ != o.it_; }

   private:
    typename std::vector<std::unique_ptr<TObjetDeListe>>::const_iterator it_;
  };
  iterator begin() const { return iterator(Items.cbegin()); }
  iterator end() const { return iterator(Items.cend()); }

 protected:
  bool AccepteClasse(const TObjetDeListe& o) const override { return dynamic_cast<const T*>(&o) != nullptr; }
};

// A plain list of 32-bit integers.
class TListeInteger {
 public:
  void Add(int32_t v) { valeurs_.push_back(v); }
  int32_t UnInt(int i) const { return valeurs_.at(static_cast<size_t>(i)); }
  int Count() const { return static_cast<int>(valeurs_.size()); }
  void Clear() { valeurs_.clear(); }
  std::vector<int32_t>& Valeurs() { return valeurs_; }
  const std::vector<int32_t>& Valeurs() const { return valeurs_; }
  // Count, then the values; stops at the first failure.
  bool EcritListe(TFlux& f) const;
  // Reads the count and appends values (the list is not cleared first).
  bool LitListe(TFlux& f);

 private:
  std::vector<int32_t> valeurs_;
};

}  // namespace foundation
