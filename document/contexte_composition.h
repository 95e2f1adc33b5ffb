#pragma once
// The process-wide values of the document's composition in one object: the
// pattern library of the active network, and the Therion set read with a
// document until the whole document was read.
#include <memory>

namespace drawing {
class tListeMtf;
}

namespace document {

struct TContexteComposition {
  TContexteComposition();
  ~TContexteComposition();
  TContexteComposition(TContexteComposition&&) noexcept;
  TContexteComposition& operator=(TContexteComposition&&) noexcept;

  // The library of the active network's pattern part; none without network.
  drawing::tListeMtf* BibliothequeCourante = nullptr;
  // The Therion set of the document being read, kept until the read succeeds.
  std::unique_ptr<drawing::tListeMtf> TherionLu;
};

// The one context of the folder.
TContexteComposition& ContexteComposition();

// Sets the whole context aside while it lives and puts it back.
class GardeContexteComposition {
 public:
  GardeContexteComposition();
  ~GardeContexteComposition();
  GardeContexteComposition(const GardeContexteComposition&) = delete;
  GardeContexteComposition& operator=(const GardeContexteComposition&) = delete;

 private:
  TContexteComposition sauve_;
};

}  // namespace document
