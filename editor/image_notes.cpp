#include "editor/image_notes.h"

#include <algorithm>
#include <cmath>

#include "drawing/contexte_dessin.h"
#include "drawing/ports_motifs.h"
#include "editor/ports_editeur.h"
#include "editor/reprojection.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/contexte_impression.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/raster.h"
#include "platform/wait_windows.h"
#include "views/ports_vues.h"

namespace editor {

using foundation::Arrondi;
using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;
using foundation::TPoint;
using foundation::TPointTopo;

namespace {

// The file name alone, whatever the separators of the system that stored
// the path.
std::string NomSeul(const std::string& chemin) {
  const size_t p = chemin.find_last_of("/\\");
  return p == std::string::npos ? chemin : chemin.substr(p + 1);
}

// The drawing position of a ground point, not rounded.
TPointTopo PositionDessin(const TPointTopo& P) {
  const foundation::ContexteVue& v = foundation::Vue();
  const bool alti = foundation::EstDessinAlti();
  TPointTopo r = P;
  r.X = foundation::FacteurDessin * (P.X - (alti ? v.SLmin : v.Xmin));
  r.Y = foundation::FacteurDessin * (P.Y - (alti ? v.Zmin : v.Ymin));
  return r;
}

// The ground point of a rounded drawing position.
TPointTopo PointTerrainDe(const TPointTopo& dessin) {
  TPointTopo t = dessin;
  foundation::XYDessinVersPtTopo(Arrondi(dessin.X), Arrondi(dessin.Y), t);
  return t;
}

void MessageErreur(const std::string& texte) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, texte);
}

// The device position of a drawing position (millimetres, not rounded), as
// drawing::PointVueDessin places drawing points: the printer page while a
// page is printed, the view transform on screen, then the view offsets.
void PositionDevice(double x, double y, double& px, double& py) {
  const drawing::EtatAffichage& a = drawing::Affichage();
  const foundation::ContexteImpression& imp = foundation::Impression();
  const foundation::ContexteVue& v = foundation::Vue();
  if (imp.EnImpression && a.RepereSymbole) {
    px = x;
    py = a.HauteurRepereSymbole - y;
  } else if (imp.EnImpression) {
    const bool alti = foundation::EstDessinAlti();
    const double gx = x / foundation::FacteurDessin + (alti ? v.SLmin : v.Xmin);
    const double gy = y / foundation::FacteurDessin + (alti ? v.Zmin : v.Ymin);
    const foundation::TParamsImprimante p = imp.ParamsImprimante();
    px = (gx - imp.OriginePagePrn.X) / p.EchellePrn * p.CoeffPrn + p.DecalXPrn - p.DxSousPage;
    py = ((imp.OriginePagePrn.Y - gy) / p.EchellePrn + p.BandeEnTetePrn) * p.CoeffPrn - p.DySousPage;
  } else {
    px = (x / foundation::FacteurDessin - v.XDebVue) * v.EchelleVue;
    py = (v.YDebVue - y / foundation::FacteurDessin) * v.EchelleVue;
  }
  px += a.DecalageVueX;
  py += a.DecalageVueY;
  if (a.DecalageActif) {
    px += a.DecalageX;
    py += a.DecalageY;
  }
}

}  // namespace

TImageNotes::TImageNotes() { CodeAffichage = drawing::TypeObjetDessin::odNotes; }

// --- Record ---------------------------------------------------------------------

bool TImageNotes::EcritObjet(TFlux& f) {
  const int32_t pixels[4] = {PointsImage[0].X, PointsImage[0].Y, PointsImage[1].X, PointsImage[1].Y};
  return f.Ecrit(pixels, sizeof pixels) == sizeof pixels && foundation::EcritPtTopo(PointsTerrain[0], f) &&
         foundation::EcritPtTopo(PointsTerrain[1], f) && foundation::EcritChaineA(f, NomImage) &&
         f.EcritOctet(Opacite);
}

bool TImageNotes::LitObjet(TFlux& f) {
  int32_t pixels[4] = {};
  if (f.Lit(pixels, sizeof pixels) != sizeof pixels) return false;
  PointsImage = {TPoint{pixels[0], pixels[1]}, TPoint{pixels[2], pixels[3]}};
  if (!(foundation::LitPtTopo(PointsTerrain[0], f) && foundation::LitPtTopo(PointsTerrain[1], f) &&
        foundation::LitChaineA(f, NomImage)))
    return false;
  Opacite = 255;
  if (foundation::NiveauFichier().VersionFichierLue >= 509) return f.LitOctet(Opacite);
  return true;
}

// --- Loading and calibration ------------------------------------------------------

void TImageNotes::Libere() {
  EspaceImage.reset();
  FicheChargee = false;
}

bool TImageNotes::ChargeImage() {
  Libere();
  const auto existe = [](const std::string& c) { return !c.empty() && platform::FileExists(c); };
  const std::string dossier = Ports().DossierDeTravail ? Ports().DossierDeTravail() : std::string();
  std::string chemin = NomImage;
  bool deplace = false;
  if (!existe(chemin)) {
    const std::string nom = NomSeul(NomImage);
    if (existe(nom))
      chemin = nom;
    else if (!dossier.empty() && existe(dossier + nom))
      chemin = dossier + nom;
  }
  platform::Dialogs& dialogues = platform::Dialogs::Current();
  while (!existe(chemin)) {
    if (dialogues.AskYesNo(foundation::RemplaceMarques(Msg(IdMsg::FondFichierDeplace), {chemin})) !=
        platform::Answer::Yes)
      return false;
    platform::FileDialogOptions options;
    options.Filter = Msg(IdMsg::FondFiltreImages);
    options.InitialFolder = dossier;
    options.FileName = NomSeul(chemin);
    if (const auto choix = dialogues.OpenFile(options)) {
      chemin = choix->Path;
      deplace = true;
    }
  }
  // Only the header is read here: the pixels are decoded once, by the
  // turned load of the calibration.
  const std::optional<platform::RasterHeader> entete = platform::RasterLoader::Current().ReadHeader(chemin);
  if (!entete || entete->Width <= 0 || entete->Height <= 0) {
    MessageErreur(Msg(IdMsg::FondImpossibleCharger) + chemin);
    return false;
  }
  NomImage = chemin;
  FicheChargee = CalculeAdaptation();
  if (!FicheChargee)
    Libere();
  else if (deplace)
    drawing::SignaleDocumentModifie();
  return FicheChargee;
}

bool TImageNotes::CalculeAdaptation() {
  platform::WaitMessage attente(Msg(IdMsg::FondChargementCalage) + NomImage);
  int32_t W = 0, H = 0;
  if (const auto entete = platform::RasterLoader::Current().ReadHeader(NomImage)) {
    W = entete->Width;
    H = entete->Height;
  }
  if (W <= 0 || H <= 0) return false;

  // Drawing positions of the ground points.
  PointsPlan = {PositionDessin(PointsTerrain[0]), PositionDessin(PointsTerrain[1])};
  const TPoint A0{Arrondi(PointsPlan[0].X), Arrondi(PointsPlan[0].Y)};
  const TPoint A1{Arrondi(PointsPlan[1].X), Arrondi(PointsPlan[1].Y)};

  // Distances and azimuths from the image's centre.
  const TPoint C{Arrondi(W / 2.0), Arrondi(H / 2.0)};
  const double h[2] = {foundation::DistancePoints(C, PointsImage[0]), foundation::DistancePoints(C, PointsImage[1])};
  const double m[2] = {foundation::AzimutPoints(C, PointsImage[0]), foundation::AzimutPoints(C, PointsImage[1])};

  double u = 0;
  try {
    // The turn, measured on the image point farther from the centre.
    const foundation::TObjetTransfoPoint transfo(PointsImage[0], PointsImage[1], A0, A1);
    const int loin = h[0] <= h[1] ? 1 : 0;
    const TPoint Cd = transfo.TransfoPoint(C);
    const TPoint Pd = transfo.TransfoPoint(PointsImage[loin]);
    if (Cd == Pd) throw foundation::ErreurTransfoDegeneree("centre");
    u = foundation::AzimutPoints(Cd, Pd) - m[loin];
  } catch (const foundation::ErreurTransfoDegeneree&) {
    MessageErreur(Msg(IdMsg::FondCalageImpossible));
    return false;
  }

  // The turned image (the loader reports its own failures).
  std::unique_ptr<platform::Raster> tourne;
  if (!platform::ChargeBitmapTourne(NomImage, tourne, u * 180 / M_PI) || tourne->Width() <= 0 ||
      tourne->Height() <= 0)
    return false;

  // The image points in the turned image (Y downward here), about its
  // centre measured from the bottom row as C is.
  const TPoint C2{Arrondi(tourne->Width() / 2.0), tourne->Height() - Arrondi(tourne->Height() / 2.0)};
  std::array<TPoint, 2> rot;
  for (int i = 0; i < 2; ++i)
    rot[i] = TPoint{Arrondi(C2.X + h[i] * std::sin(m[i] + u)), Arrondi(C2.Y - h[i] * std::cos(m[i] + u))};

  // Scale and translation.
  const double pixels = foundation::DistancePoints(rot[0], rot[1]);
  const double plan = foundation::DistanceXY(PointsPlan[0], PointsPlan[1]);
  if (!(pixels > 0) || !(plan > 0) || !std::isfinite(plan / pixels)) {
    MessageErreur(Msg(IdMsg::FondCalageImpossible));
    return false;
  }
  CoeffEchelleNotes = plan / pixels;
  TrslX = PointsPlan[0].X - static_cast<double>(CoeffEchelleNotes) * rot[0].X;
  TrslY = PointsPlan[0].Y - static_cast<double>(CoeffEchelleNotes) * rot[0].Y;

  // The two calibration marks.
  for (const TPoint& p : rot) tourne->AddMark(platform::Point{p.X, p.Y});

  // Y upward.
  for (int i = 0; i < 2; ++i) PointsImageRot[i] = TPoint{rot[i].X, tourne->Height() - rot[i].Y};
  EspaceImage = std::move(tourne);
  return true;
}

// --- Drawing ----------------------------------------------------------------------------

void TImageNotes::DessineCetObjet(platform::Canvas& canvas) {
  if (!FicheChargee || !EspaceImage) return;
  const double k = static_cast<double>(CoeffEchelleNotes);
  if (!(k > 0) || !std::isfinite(k)) return;
  const TPointTopo t0 = PositionDessin(PointsTerrain[0]), t1 = PositionDessin(PointsTerrain[1]);
  if ((t0.X == t1.X && t0.Y == t1.Y) || (PointsPlan[0].X == PointsPlan[1].X && PointsPlan[0].Y == PointsPlan[1].Y))
    return;

  // Where the first ground point is drawn: the first turned image point
  // lands there exactly.
  const foundation::TPoint p0 = drawing::PointVueDessin(Arrondi(PointsPlan[0].X), Arrondi(PointsPlan[0].Y));
  CorrectX = p0.X;
  CorrectY = p0.Y;

  // Device pixels per image pixel along X and along Y.
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  constexpr double pas = 1000;
  PositionDevice(PointsPlan[0].X, PointsPlan[0].Y, x0, y0);
  PositionDevice(PointsPlan[0].X + pas, PointsPlan[0].Y, x1, y1);
  PositionDevice(PointsPlan[0].X, PointsPlan[0].Y + pas, x2, y2);
  const double dx = k * (x1 - x0) / pas, dy = k * (y0 - y2) / pas;
  if (!(dx > 0) || !(dy > 0) || !std::isfinite(dx) || !std::isfinite(dy)) return;

  // The corners: q1 the lower left pixel corner, q2 the upper right.
  const double W = EspaceImage->Width(), H = EspaceImage->Height();
  const foundation::TPoint& R0 = PointsImageRot[0];
  const double q1x = CorrectX - dx * R0.X, q1y = CorrectY + dy * R0.Y;
  const double q2x = CorrectX + dx * (W - R0.X), q2y = CorrectY - dy * (H - R0.Y);
  if (!(q2x - q1x >= 1) || !(q1y - q2y >= 1)) return;  // under one device pixel

  // Clipped to the drawing area: the canvas and its clip rectangle.
  platform::Rect zone{0, 0, canvas.Width(), canvas.Height()};
  if (const auto clip = canvas.ClipRect())
    zone = {std::max(zone.Left, clip->Left), std::max(zone.Top, clip->Top), std::min(zone.Right, clip->Right),
            std::min(zone.Bottom, clip->Bottom)};
  const auto borne = [](double v, int32_t bas, int32_t haut) {
    return static_cast<int32_t>(Arrondi(std::clamp(v, static_cast<double>(bas), static_cast<double>(haut))));
  };
  const platform::Rect d{borne(q1x, zone.Left, zone.Right), borne(q2y, zone.Top, zone.Bottom),
                         borne(q2x, zone.Left, zone.Right), borne(q1y, zone.Top, zone.Bottom)};
  if (d.Empty()) return;

  // The matching rectangle of the turned image, Y downward.
  const platform::RectF source{(d.Left - q1x) / dx, (d.Top - q2y) / dy, (d.Right - q1x) / dx, (d.Bottom - q2y) / dy};
  EspaceImage->Paint(canvas, d, source, Opacite);
}

void TImageNotes::CalculeEnveloppe() { EnvelRect = drawing::Affichage().RectVisibleDessin; }

bool TImageNotes::ChargeImageDigit(const TCalageImage& calage) {
  NomImage = calage.NomImage;
  if (!calage.Calcule) {
    Libere();
    return false;
  }
  PointsImage = {calage.Point1, calage.Point2};
  PointsPlan = {calage.Valeur1, calage.Valeur2};
  PointsTerrain = {PointTerrainDe(calage.Valeur1), PointTerrainDe(calage.Valeur2)};
  return ChargeImage();
}

bool TImageNotes::ChargeCarte(const TCalageImage& calage) {
  NomImage = calage.NomImage;
  PointsImage = {calage.Point1, calage.Point2};
  PointsPlan = {PositionDessin(calage.Valeur1), PositionDessin(calage.Valeur2)};
  PointsTerrain = {PointTerrainDe(PointsPlan[0]), PointTerrainDe(PointsPlan[1])};
  return ChargeImage();
}

std::optional<TPoint> TImageNotes::PointLocToImage(const TPoint& Pt) const {
  try {
    const foundation::TObjetTransfoPoint t(PointsImage[0], PointsImage[1], foundation::PtTopoVersDessin(PointsTerrain[0]),
                                           foundation::PtTopoVersDessin(PointsTerrain[1]));
    return t.TransfoPointInverse(Pt);
  } catch (const foundation::ErreurTransfoDegeneree&) {
    return std::nullopt;
  }
}

bool TImageNotes::ChangeProjectionNote(const std::string& AncienProj, int32_t AncienFuseau, int32_t NouveauFuseau,
                                       const std::string& NouveauProj, TBilanReprojection* bilan) {
  BilanLocal b(bilan);
  if (ReprojettePoints(PointsTerrain.data(), PointsTerrain.size(), AncienProj, AncienFuseau, NouveauProj,
                       NouveauFuseau))
    return true;
  (*b).FondsNonConvertis.push_back(NomImage);
  return false;
}

// --- List -----------------------------------------------------------------------------

TImageNotes* TListeNotes::UneNote(int i) const {
  return i < 0 || i >= Count() ? nullptr : Notes[static_cast<size_t>(i)].get();
}

TImageNotes* TListeNotes::Add(std::unique_ptr<TImageNotes> n) {
  Notes.push_back(std::move(n));
  return Notes.back().get();
}

int TListeNotes::IndexOf(const TImageNotes* n) const {
  for (int i = 0; i < Count(); ++i)
    if (Notes[static_cast<size_t>(i)].get() == n) return i;
  return -1;
}

bool TListeNotes::Supprime(const TImageNotes* n) {
  const int i = IndexOf(n);
  if (i < 0) return false;
  Notes.erase(Notes.begin() + i);
  if (NoteActive == i)
    NoteActive = -1;
  else if (NoteActive > i)
    --NoteActive;
  return true;
}

void TListeNotes::Clear() {
  Notes.clear();
  NoteActive = -1;
}

bool TListeNotes::EcritImages(TFlux& f) const {
  for (const auto& n : Notes)
    if (!n->EcritObjet(f)) return false;
  return true;
}

bool TListeNotes::EcritListe(TFlux& f) const {
  return f.EcritInteger(Count()) && f.EcritInteger(NoteActive) && EcritImages(f);
}

namespace {
// Reads n image records into the list; stops at the first failure.
bool LitImagesN(TFlux& f, TListeNotes& l, int32_t n) {
  if (n < 0) n = 0;
  if (static_cast<uint64_t>(n) > f.Restant() / TailleMinImage) return false;
  for (int32_t i = 0; i < n; ++i) {
    auto image = std::make_unique<TImageNotes>();
    const bool lu = image->LitObjet(f);
    if (!lu) return false;
    l.Add(std::move(image));
  }
  return true;
}
}  // namespace

bool TListeNotes::LitImages(TFlux& f) {
  Clear();
  int32_t n = 0;
  return f.LitInteger(n) && LitImagesN(f, *this, n);
}

bool TListeNotes::LitListe(TFlux& f) {
  Clear();
  int32_t n = 0, active = -1;
  if (!(f.LitInteger(n) && f.LitInteger(active))) return false;
  const bool ok = LitImagesN(f, *this, n);
  NoteActive = active >= 0 && active < Count() ? active : -1;
  return ok;
}

bool TListeNotes::ActiveCarte(int Num) {
  if (NoteActive >= Count()) NoteActive = Count() - 1;
  if (Num == -1) Num = NoteActive;
  bool ok = true;
  TImageNotes* image = UneNote(Num);
  if (Num != -1 && !image) return false;
  if (image && !image->FicheChargee) {
    // The active map is released once the new one is ready, so that a map
    // that cannot be loaded leaves everything as it was.
    ok = image->ChargeImage();
    if (TImageNotes* active = UneNote(NoteActive); ok && active && active != image) active->Libere();
  }
  if (ok) NoteActive = Num;
  if (Cartes().CartesReseau == this) Cartes().NumCarteActive = NoteActive;
  return ok;
}

void TListeNotes::ChangeProjection(const std::string& AncienProj, int32_t AncienFuseau, int32_t NouveauFuseau,
                                   const std::string& NouveauProj, TBilanReprojection* bilan) {
  BilanLocal b(bilan);
  for (const auto& n : Notes) n->ChangeProjectionNote(AncienProj, AncienFuseau, NouveauFuseau, NouveauProj, &*b);
}

void InstalleCarteDesVues() {
  views::Ports().CarteReseauActive = []() -> drawing::TObjetDessin* {
    const ContexteCartes& c = Cartes();
    if (!c.AfficheCarte || !c.CartesReseau || c.NumCarteActive < 0) return nullptr;
    TImageNotes* n = c.CartesReseau->UneNote(c.NumCarteActive);
    return n && n->FicheChargee ? n : nullptr;
  };
}

}  // namespace editor
