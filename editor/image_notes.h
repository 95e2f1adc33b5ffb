#pragma once
// Calibrated images: a raster file (scanned notes, a map) shown under a
// drawing or a plan view, turned and scaled so that two of its pixels fall on
// two known ground points; the owning list of them with one active image; and
// the network's list of background maps.
//
// Ground points are metres in the network's coordinate system; drawing units
// are millimetres from the drawing origin (foundation/transformation_vue.h);
// image points are whole pixels from the left edge and from the bottom row
// (Y upward).  The image is a drawing object of the layer odNotes: it paints
// itself under the drawing, on screen and on the printed page.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drawing/objet_dessin.h"
#include "foundation/flux.h"
#include "foundation/point_topo.h"
#include "platform/canvas.h"
#include "platform/raster.h"

namespace editor {

class TBilanReprojection;

// The two point pairs a calibration gives an image: the image name, two
// pixels and where they belong (drawing units from a digitising
// calibration, ground metres from a raster calibration).
struct TCalageImage {
  bool Calcule = false;  // the calibration could be computed
  std::string NomImage;
  foundation::TPoint Point1, Point2;
  foundation::TPointTopo Valeur1, Valeur2;
};

class TImageNotes : public drawing::TObjetDessin {
 public:
  // No bitmap, layer odNotes, not loaded, opaque.
  TImageNotes();
  TImageNotes(const TImageNotes&) = delete;
  TImageNotes& operator=(const TImageNotes&) = delete;

  // The decoded image with its turn, drawn turned (never turned in memory).
  std::unique_ptr<platform::Raster> EspaceImage;
  std::array<foundation::TPointTopo, 2> PointsPlan{};  // drawing units of the ground points
  std::array<foundation::TPoint, 2> PointsImageRot{};  // in the turned bitmap, Y upward
  long double CoeffEchelleNotes = 0;  // drawing units per pixel of the turned bitmap
  double TrslX = 0, TrslY = 0;
  // Device position of PointsImageRot[0]: where the first ground point is
  // drawn, recomputed at each drawing.
  int32_t CorrectX = 0, CorrectY = 0;
  std::array<foundation::TPointTopo, 2> PointsTerrain{};  // ground points, metres
  std::string NomImage;
  std::array<foundation::TPoint, 2> PointsImage{};  // calibration pixels of the unturned image
  bool FicheChargee = false;  // loaded and calibrated
  uint8_t Opacite = 255;

  // PointsImage (16 bytes), both ground points, NomImage, Opacite (read from
  // level 509; older files are opaque).
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // Paints the image faded by Opacite, placed so that its calibration
  // pixels fall on the device positions of the ground points: on screen
  // through the view transform, while a page is printed through the printer
  // conversions.  Only the part inside the canvas (and its clip rectangle,
  // the drawing area) is rendered.  Not drawn while not loaded, when the
  // scale is not a positive number, when the two ground points coincide or
  // when the image would be under one device pixel.
  void DessineCetObjet(platform::Canvas& canvas) override;
  // The drawing rectangle the window shows: the image always counts as visible.
  void CalculeEnveloppe() override;
  // Loaded and calibrated.
  bool EstValidable() const override { return FicheChargee; }

  // Finds the file (stored path, bare name, working folder, then asks the
  // user), loads and calibrates it; true when ready to draw.
  bool ChargeImage();
  // The turn and scale from the two point pairs, and the turned bitmap.
  bool CalculeAdaptation();
  // From a digitising calibration (values in drawing units), then ChargeImage.
  bool ChargeImageDigit(const TCalageImage& calage);
  // From a raster calibration (values in ground metres), then ChargeImage.
  bool ChargeCarte(const TCalageImage& calage);
  // The unturned image pixel of a drawing point; none while the point pairs
  // do not define a transform.
  std::optional<foundation::TPoint> PointLocToImage(const foundation::TPoint& Pt) const;
  // Converts both ground points from the old system and zone to the new
  // ones, or leaves them both and notes the image in the bilan (reported at
  // once when none is given).  True when converted.
  bool ChangeProjectionNote(const std::string& AncienProj, int32_t AncienFuseau, int32_t NouveauFuseau,
                            const std::string& NouveauProj, TBilanReprojection* bilan = nullptr);
  // Frees the bitmap; the image is no longer loaded.
  void Libere();
};

class TListeNotes {
 public:
  TListeNotes() = default;
  TListeNotes(const TListeNotes&) = delete;
  TListeNotes& operator=(const TListeNotes&) = delete;

  int32_t NoteActive = -1;

  int Count() const { return static_cast<int>(Notes.size()); }
  TImageNotes* UneNote(int i) const;
  TImageNotes* DerNote() const { return UneNote(Count() - 1); }
  TImageNotes* Add(std::unique_ptr<TImageNotes> n);
  int IndexOf(const TImageNotes* n) const;
  // Removes and frees the image; the active index follows its image.
  bool Supprime(const TImageNotes* n);
  void Clear();

  // Count, NoteActive, the image records.
  bool EcritListe(foundation::TFlux& f) const;
  // Empties the list, then creates and reads each image; stops at the first
  // failure.  An active index outside the list reads as none.
  bool LitListe(foundation::TFlux& f);
  // Without the active index (the drawing annexes).
  bool EcritImages(foundation::TFlux& f) const;
  bool LitImages(foundation::TFlux& f);

  // Makes image Num (-1: the active one) active, loading it, then releasing
  // the previously active one; true when it is ready.  A map that cannot be
  // loaded leaves the active map loaded and active.
  bool ActiveCarte(int Num);
  // Every image's ground points into the new system, reported once.
  void ChangeProjection(const std::string& AncienProj, int32_t AncienFuseau, int32_t NouveauFuseau,
                        const std::string& NouveauProj, TBilanReprojection* bilan = nullptr);

  std::vector<std::unique_ptr<TImageNotes>> Notes;
};

// The smallest image record: 16 bytes of pixels, two 36-byte points, the
// name's count.
inline constexpr uint64_t TailleMinImage = 16 + 36 + 36 + 4;

// The network's background maps.
struct ContexteCartes {
  TListeNotes* CartesReseau = nullptr;  // owned by the network
  int32_t NumCarteActive = -1;          // its active map, -1 none
  bool AfficheCarte = false;            // the active map is drawn under the views
};

ContexteCartes& Cartes();

// Gives the views the network's active map as a drawing object
// (views::CarteReseauActive): the active map of CartesReseau while
// AfficheCarte is set and NumCarteActive names a loaded map, none otherwise.
void InstalleCarteDesVues();

class GardeCartes {
 public:
  GardeCartes() : sauve_(Cartes()) {}
  ~GardeCartes() { Cartes() = sauve_; }
  GardeCartes(const GardeCartes&) = delete;
  GardeCartes& operator=(const GardeCartes&) = delete;

 private:
  ContexteCartes sauve_;
};

}  // namespace editor
