// The PocketTopo ".top" reader: the real test file against a walk of its
// bytes written here and against Survex's cavern, the primitives on bytes
// built here, and damaged files (cut, counts past the end, bad header).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <sstream>

#include "formats/import/pockettopo/lecteur_pockettopo.h"
#include "foundation/dates.h"
#include "foundation/flux.h"
#include "survey/lever.h"
#include "tests/formats/import_test_support.h"
#include "tests/survey/survex_oracle.h"

namespace testformats {
namespace {

const std::string kTest1 = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/pockettopo/test1.top";

// An independent walk of a ".top" file's bytes (no bound checks: the file is
// known good).
struct ViseeLue {
  std::string de, a, commentaire;
  double l = 0, az = 0, p = 0;
};
struct DessinLu {
  int polylignes = 0, points = 0;
  std::map<int, int> couleurs;  // colour byte -> polylines
  std::vector<std::string> coupes;
};
struct FichierTopLu {
  double decli = 0;
  int64_t temps = 0;
  std::vector<ViseeLue> visees;
  std::string reference;
  double re = 0, rn = 0, ra = 0;
  DessinLu plan, coupe;
  size_t debutReferences = 0;  // offset of the reference count
  size_t debutDessins = 0;     // offset of the plan drawing
  size_t fin = 0;              // end of the elevation drawing
};

struct Marcheur {
  const std::string& o;
  size_t i = 4;
  template <class T>
  T Lit() {
    T v;
    std::memcpy(&v, o.data() + i, sizeof v);
    i += sizeof v;
    return v;
  }
  std::string Chaine() {
    size_t n = static_cast<uint8_t>(o[i++]);
    if (n >= 128) n = (n - 128) + 128 * static_cast<uint8_t>(o[i++]);
    std::string s = o.substr(i, n);
    i += n;
    return s;
  }
  std::string Id() {
    const auto v = Lit<uint32_t>();
    if (v == 0x80000000u) return "";
    if (v > 0x80000000u) return std::to_string(v - 0x80000001u);
    return std::to_string(v >> 16) + "." + std::to_string(v & 0xFFFF);
  }
  void Dessin(DessinLu& d) {
    i += 12;
    for (uint8_t id; (id = Lit<uint8_t>()) != 0;) {
      if (id == 1) {
        const auto n = Lit<int32_t>();
        i += 8 * static_cast<size_t>(n);
        ++d.polylignes;
        d.points += n;
        ++d.couleurs[Lit<uint8_t>()];
      } else if (id == 3) {
        i += 8;
        d.coupes.push_back(Id());
        i += 4;
      }
    }
  }
};

FichierTopLu LitTop(const std::string& o) {
  FichierTopLu f;
  Marcheur m{o};
  for (int32_t n = m.Lit<int32_t>(); n > 0; --n) {
    f.temps = m.Lit<int64_t>();
    m.Chaine();
    f.decli = m.Lit<uint16_t>() * 360.0 / 65536;
  }
  for (int32_t n = m.Lit<int32_t>(); n > 0; --n) {
    ViseeLue v;
    v.de = m.Id();
    v.a = m.Id();
    v.l = m.Lit<int32_t>() / 1000.0;
    v.az = m.Lit<uint16_t>() * 360.0 / 65536;
    v.p = m.Lit<uint16_t>() * 360.0 / 65536;
    if (v.p > 180) v.p -= 360;
    const auto drapeaux = m.Lit<uint8_t>();
    m.i += 3;
    if (drapeaux & 2) v.commentaire = m.Chaine();
    f.visees.push_back(v);
  }
  f.debutReferences = m.i;
  for (int32_t n = m.Lit<int32_t>(); n > 0; --n) {
    f.reference = m.Id();
    f.re = static_cast<double>(m.Lit<int64_t>()) / 1000;
    f.rn = static_cast<double>(m.Lit<int64_t>()) / 1000;
    f.ra = m.Lit<int32_t>() / 1000.0;
    m.Chaine();
  }
  m.i += 12;
  f.debutDessins = m.i;
  m.Dessin(f.plan);
  m.Dessin(f.coupe);
  f.fin = m.i;
  return f;
}

// Legs with their readings averaged (consecutive readings of one leg).
struct Jambe {
  std::string de, a;
  double l = 0, az = 0, p = 0;
  int n = 0;
};
std::vector<Jambe> Jambes(const FichierTopLu& f) {
  std::vector<Jambe> j;
  for (const ViseeLue& v : f.visees) {
    if (v.a.empty()) continue;
    if (j.empty() || j.back().de != v.de || j.back().a != v.a) j.push_back({v.de, v.a});
    Jambe& b = j.back();
    double az = v.az;
    if (b.n > 0 && az - b.az / b.n > 180) az -= 360;
    if (b.n > 0 && b.az / b.n - az > 180) az += 360;
    b.l += v.l;
    b.az += az;
    b.p += v.p;
    ++b.n;
  }
  for (Jambe& b : j) {
    b.l /= b.n;
    b.az /= b.n;
    b.p /= b.n;
  }
  return j;
}

TEST(FichiersPocketTopo, Test1) {
  const std::string octets = testsupport::LitOctets(kTest1);
  const FichierTopLu f = LitTop(octets);
  const std::vector<Jambe> jambes = Jambes(f);
  ReseauImport r;
  formats::TImportFichierTop lecteur(&r.R());
  lecteur.TypeAppli = formats::TypeImportPocketTopo;
  ASSERT_TRUE(lecteur.ImporterFichier(kTest1));
  TCavite* c = r.Cavite();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->NomCavite, "test1");
  ASSERT_EQ(c->Levers.Count(), 1);
  const TLever* lev = c->Levers.First();
  EXPECT_EQ(foundation::DateEnTexte(lev->LaDate), "30/01/2020");
  EXPECT_DOUBLE_EQ(lev->Declinaison, 1.23046875);
  EXPECT_DOUBLE_EQ(lev->Declinaison, f.decli);
  ASSERT_NE(lev->InstrumentAz, nullptr);
  EXPECT_EQ(lev->InstrumentAz->DesignInstr, "DistoX");
  // 45 records: 5 legs of 3 readings, 30 splays.
  EXPECT_EQ(f.visees.size(), 45u);
  int habiFichier = 0;
  for (const ViseeLue& v : f.visees) habiFichier += v.a.empty();
  int habi = 0;
  for (const TVisee* v : c->Visees) habi += v->ViseesHabi.Count();
  EXPECT_EQ(c->Visees.Count(), static_cast<int>(jambes.size()));
  EXPECT_EQ(c->Visees.Count(), 5);
  EXPECT_EQ(habi, habiFichier);
  EXPECT_EQ(habi, 30);
  for (const Jambe& j : jambes) {
    const TVisee* v = r.Visee(j.de, j.a);
    if (!v) v = c->LEntree()->DesignPTopo == j.de ? nullptr : v;
    if (j.de == f.reference) {
      // The entrance station became the surface point.
      for (const TVisee* w : c->Visees)
        if (w->PointStation == c->LEntree() && w->PointVise->DesignPTopo == j.a) v = w;
    }
    ASSERT_NE(v, nullptr) << j.de << " " << j.a;
    EXPECT_NEAR(v->Long, j.l, 1e-9);
    EXPECT_NEAR(v->Az, j.az, 1e-6);
    EXPECT_NEAR(v->pente, j.p, 1e-6);
    EXPECT_EQ(v->SensDessinCoupeOr, 2);
  }
  // The reference point is the entrance.
  const TPointSpeleo* e = c->LEntree();
  EXPECT_EQ(e->DesignPTopo, "16.29");
  EXPECT_EQ(f.reference, "16.29");
  EXPECT_TRUE(e->EstPointSurface());
  EXPECT_NEAR(e->X, 1.2, 1e-12);
  EXPECT_NEAR(e->Y, 3.4, 1e-12);
  EXPECT_NEAR(e->Z, 5.6, 1e-12);
  EXPECT_EQ(r.NombreStations(), 5);
  // The drawings as the walk counts them.
  EXPECT_EQ(lecteur.DessinPlan.Polylignes.size(), static_cast<size_t>(f.plan.polylignes));
  EXPECT_EQ(f.plan.polylignes, 114);
  EXPECT_EQ(f.plan.points, 674);
  size_t points = 0;
  std::map<int, int> couleurs;
  for (const auto& p : lecteur.DessinPlan.Polylignes) {
    points += p.Points.size();
    ++couleurs[p.Couleur];
  }
  EXPECT_EQ(points, 674u);
  EXPECT_EQ(couleurs, f.plan.couleurs);
  EXPECT_EQ(couleurs, (std::map<int, int>{{1, 8}, {3, 104}, {4, 1}, {7, 1}}));
  ASSERT_EQ(lecteur.DessinPlan.Coupes.size(), 2u);
  EXPECT_EQ(lecteur.DessinPlan.Coupes[0].Station, f.plan.coupes[0]);
  EXPECT_EQ(lecteur.DessinPlan.Coupes[0].Station, "16.35");
  EXPECT_EQ(lecteur.DessinPlan.Coupes[1].Station, "16.33");
  EXPECT_EQ(lecteur.DessinCoupe.Polylignes.size(), 30u);
  EXPECT_EQ(f.coupe.polylignes, 30);
  points = 0;
  for (const auto& p : lecteur.DessinCoupe.Polylignes) points += p.Points.size();
  EXPECT_EQ(points, 607u);
  EXPECT_EQ(f.coupe.points, 607);
  // The two-line comment survives a save and a reload.
  foundation::TFluxMemoire flux;
  ASSERT_TRUE(r.R().Ecrit(flux));
  TReseau relu;
  foundation::TFluxMemoire lecture(flux.Octets());
  ASSERT_TRUE(relu.Lit(lecture));
  const TPointSpeleo* s = nullptr;
  for (TGalerie* g : relu.Cavites.Last()->Galeries)
    for (TPointSpeleo* p : g->Points)
      if (p->DesignPTopo == "16.33") s = p;
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->Commentaire.size(), 2u);
  EXPECT_EQ(s->Commentaire[0], "Shot comment");
  EXPECT_EQ(s->Commentaire[1], "SC Line two");
}

TEST(FichiersPocketTopo, Test1CommeSurvex) {
  if (!testsurvey::CavernDisponible()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  const FichierTopLu f = LitTop(testsupport::LitOctets(kTest1));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kTest1, formats::TypeImportPocketTopo));
  r.R().CalculeReseau();
  auto nom = [](std::string n) {
    for (char& ch : n)
      if (ch == '.') ch = '_';
    return "s" + n;
  };
  std::ostringstream svx;
  svx.precision(17);
  svx << "*begin\n*declination " << f.decli << " degrees\n*fix " << nom(f.reference) << " " << f.re << " " << f.rn
      << " " << f.ra << "\n*data normal from to tape compass clino\n";
  for (const Jambe& j : Jambes(f)) svx << nom(j.de) << " " << nom(j.a) << " " << j.l << " " << j.az << " " << j.p << "\n";
  svx << "*end\n";
  const testsurvey::ResultatSurvex s = testsurvey::LanceCavern(svx.str(), r.Dossier.Chemin());
  ASSERT_TRUE(s.Ok) << s.Erreur;
  int compares = 0;
  std::vector<TPointSpeleo*> points{r.Cavite()->LEntree()};
  for (TGalerie* g : r.Cavite()->Galeries)
    for (TPointSpeleo* p : g->Points) points.push_back(p);
  for (const TPointSpeleo* p : points) {
    const auto it = s.Positions.find(nom(p->DesignPTopo));
    ASSERT_NE(it, s.Positions.end()) << p->DesignPTopo;
    EXPECT_NEAR(p->X, it->second[0], 0.01) << p->DesignPTopo;
    EXPECT_NEAR(p->Y, it->second[1], 0.01) << p->DesignPTopo;
    EXPECT_NEAR(p->Z, it->second[2], 0.01) << p->DesignPTopo;
    ++compares;
  }
  EXPECT_EQ(compares, 6);
}

// A ".top" file built byte by byte.
class Octets {
 public:
  Octets& En(const void* p, size_t n) {
    o.append(static_cast<const char*>(p), n);
    return *this;
  }
  template <class T>
  Octets& N(T v) {
    return En(&v, sizeof v);
  }
  Octets& Chaine(const std::string& s) {
    if (s.size() < 128) {
      N<uint8_t>(static_cast<uint8_t>(s.size()));
    } else {
      N<uint8_t>(static_cast<uint8_t>(128 + s.size() % 128));
      N<uint8_t>(static_cast<uint8_t>(s.size() / 128));
    }
    o += s;
    return *this;
  }
  std::string o;
};

// Header, one trip, the shots given, no reference, two empty drawings.
std::string FichierTop(uint16_t decli, const std::string& visees, int32_t nombreVisees) {
  Octets b;
  b.o = "Top";
  b.N<uint8_t>(3).N<int32_t>(1).N<int64_t>(637159392000000000).Chaine("voyage").N<uint16_t>(decli);
  b.N<int32_t>(nombreVisees);
  b.o += visees;
  b.N<int32_t>(0);                                    // references
  b.N<int32_t>(0).N<int32_t>(0).N<int32_t>(0);        // overview mapping
  for (int k = 0; k < 2; ++k) b.N<int32_t>(0).N<int32_t>(0).N<int32_t>(0).N<uint8_t>(0);  // drawings
  return b.o;
}

std::string Visee(uint32_t de, uint32_t a, int32_t mm, uint16_t az, uint16_t p, int16_t lever = 0) {
  Octets b;
  b.N<uint32_t>(de).N<uint32_t>(a).N<int32_t>(mm).N<uint16_t>(az).N<uint16_t>(p).N<uint8_t>(0).N<uint8_t>(0).N<int16_t>(
      lever);
  return b.o;
}

TEST(PocketTopoPrimitives, IdsAnglesChaines) {
  struct {
    uint32_t v;
    const char* texte;
  } ids[] = {{0x80000001u, "0"}, {0x80000001u + 11, "11"}, {0x00010002u, "1.2"}, {0x80000000u, ""}, {0, "0.0"}};
  for (const auto& c : ids) EXPECT_EQ(formats::TexteIdStationTop(c.v), c.texte) << c.v;
  // A string of 200 bytes: length bytes 200 and 1.
  std::string s = "\xc8\x01" + std::string(200, 'x') + "z";
  formats::TCurseurTop cur(s);
  std::string t;
  ASSERT_TRUE(cur.Chaine(t));
  EXPECT_EQ(t.size(), 200u);
  EXPECT_EQ(cur.Reste(), 1u);
  // A length needing a third byte, or longer than the bytes left.
  for (const std::string mauvaise : {std::string("\x80\x80\x01", 3), std::string("\x05" "abc")}) {
    formats::TCurseurTop m(mauvaise);
    EXPECT_FALSE(m.Chaine(t));
    EXPECT_EQ(m.Position(), 0u);
  }
  const std::string angle("\x00\xc0", 2);  // 49152
  formats::TCurseurTop a(angle);
  double deg = 0;
  ASSERT_TRUE(a.Angle(deg));
  EXPECT_EQ(deg, 270);
}

TEST(PocketTopoPrimitives, DeclinaisonEtPente) {
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier("p.top");
  testsupport::EcritOctets(chemin, FichierTop(49152, Visee(0x80000001u, 0x80000002u, 5000, 0, 65000), 1));
  formats::TImportFichierTop lecteur(&r.R());
  lecteur.TypeAppli = formats::TypeImportPocketTopo;
  ASSERT_TRUE(lecteur.ImporterFichier(chemin)) << (r.Dialogues.Messages().empty() ? "" : r.Dialogues.Messages()[0]);
  EXPECT_EQ(lecteur.UnLeverImporte(0)->Decli, -90);
  EXPECT_EQ(lecteur.UneViseeImporte(0)->P, 357.0556640625);
  ASSERT_EQ(r.Cavite()->Visees.Count(), 1);
  EXPECT_EQ(r.Cavite()->Visees.First()->pente, -2.9443359375);
  EXPECT_EQ(r.Cavite()->Visees.First()->Long, 5);
}

// Damaged files: a message, no crash, the network as it was (the same
// network takes every damaged file in turn).
void VerifieRefus(ReseauImport& r, const std::string& octets, const std::string& quoi, const char* debutMessage) {
  const std::string chemin = r.Dossier.Fichier("abime.top");
  testsupport::EcritOctets(chemin, octets);
  r.Dialogues.Clear();
  EXPECT_FALSE(r.Importe(chemin, formats::TypeImportPocketTopo)) << quoi;
  EXPECT_EQ(r.R().Cavites.Count(), 1) << quoi;
  EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0) << quoi;
  EXPECT_EQ(r.R().ListeInstruments.Count(), 0) << quoi;
  const auto messages = r.Dialogues.Messages();
  ASSERT_EQ(messages.size(), 1u) << quoi;
  EXPECT_EQ(messages.back().rfind(debutMessage, 0), 0u) << quoi << ": " << messages.back();
}

TEST(PocketTopoAbime, EnTeteCoupesEtNombres) {
  // A sound header: the file is a damaged ".top", and the message says where.
  const std::string tete = "le fichier abime.top est un fichier Pocket Topo version 3 endommagé : ";
  const std::string endommage = tete + "lecture arrêtée à l'octet ";
  const char* pasTop = "le fichier n'est pas un fichier Pocket Topo version 3";
  ReseauImport r;
  for (const std::string entete : {std::string(""), std::string("Top"), std::string("Top\x02", 4),
                                   std::string("Tap\x03", 4), std::string("xyz")})
    VerifieRefus(r, entete + std::string(40, '\0'), "en-tête " + entete, pasTop);
  const std::string octets = testsupport::LitOctets(kTest1);
  const FichierTopLu f = LitTop(octets);
  const size_t debutVisees = [&] {
    Marcheur m{octets};
    m.i = 8;
    m.Lit<int64_t>();
    m.Chaine();
    m.i += 2;
    return m.i;
  }();
  // Cut at every length past the header, short of the end of the drawings
  // (nothing after them is read): the part named is the one the cut falls
  // in, the byte no further than the cut.
  ASSERT_LT(f.fin, octets.size());
  ASSERT_GT(f.debutDessins, f.debutReferences);
  for (size_t n = 4; n < f.fin; ++n) {
    const std::string quoi = "coupé à " + std::to_string(n);
    VerifieRefus(r, octets.substr(0, n), quoi, endommage.c_str());
    const std::string m = r.Dialogues.Messages().empty() ? std::string() : r.Dialogues.Messages().back();
    const std::string partie = n < debutVisees             ? "lever"
                               : n < f.debutReferences     ? "visée"
                               : n < f.debutDessins - 12   ? "référence"
                               : n < f.debutDessins        ? "vue générale"
                                                           : "croquis";
    EXPECT_NE(m.find(partie), std::string::npos) << quoi << ": " << m;
    EXPECT_NE(m.find(" sur " + std::to_string(n) + ", "), std::string::npos) << quoi << ": " << m;
    const size_t octet = std::stoul(m.substr(endommage.size()));
    EXPECT_LE(octet, n) << quoi;
  }
  {
    ReseauImport juste;
    const std::string chemin = juste.Dossier.Fichier("juste.top");
    testsupport::EcritOctets(chemin, octets.substr(0, f.fin));
    EXPECT_TRUE(juste.Importe(chemin, formats::TypeImportPocketTopo));
  }
  // Counts raised past the end: trips, shots, references.
  for (const size_t position : {size_t{4}, debutVisees, f.debutReferences})
    for (const int32_t nombre : {-1, 46, 1000, 0x7fffffff}) {
      std::string abime = octets;
      std::memcpy(abime.data() + position, &nombre, 4);
      VerifieRefus(r, abime, "nombre " + std::to_string(nombre) + " à " + std::to_string(position), endommage.c_str());
    }
  // The messages in full.  Header 4 bytes, trip count 4, one trip of 17,
  // shot count 4: the shots start at byte 29, 20 bytes each; then the
  // reference count, the overview (12) and two empty drawings (13 each).
  const std::string deux = Visee(0x80000001u, 0x80000002u, 5000, 0, 0);
  struct Cas {
    std::string octets, attendu;
  };
  std::string sansFin = FichierTop(0, deux + deux, 2);
  sansFin.pop_back();
  const Cas cas[] = {
      // A trip index out of range in the second shot.
      {FichierTop(0, deux + Visee(0x80000002u, 0x80000003u, 5000, 0, 0, 1), 2),
       "lecture arrêtée à l'octet 49 sur 111, à la visée 2 sur 2."},
      // The elevation drawing without its end element.
      {sansFin, "lecture arrêtée à l'octet 110 sur 110, dans le croquis de la coupe."},
      // The counts of shots and references beyond the bytes left.
      {FichierTop(0, deux, 4), "lecture arrêtée à l'octet 25 sur 91, au nombre de visées."},
  };
  for (const Cas& c : cas) {
    VerifieRefus(r, c.octets, c.attendu, endommage.c_str());
    ASSERT_FALSE(r.Dialogues.Messages().empty());
    EXPECT_EQ(r.Dialogues.Messages().back(), tete + c.attendu);
  }
}

TEST(PocketTopoAbime, Type5SurUnAutreFichier) {
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier("texte.txt");
  testsupport::EcritOctets(chemin, "Top\x03 rien\n");
  EXPECT_FALSE(r.Importe(chemin, formats::TypeImportPocketTopo));
  EXPECT_EQ(r.R().Cavites.Count(), 1);
}

TEST(PocketTopoVisees, PremiereViseeEtStationsVides) {
  // "0.0" keeps "0" on the first shot; a later "0.0" with no target is
  // dropped; no station at all is dropped.
  const std::string v = Visee(0x00000000u, 0x00010000u, 2000, 0, 0) + Visee(0x00010000u, 0x00020000u, 2000, 16384, 0) +
                        Visee(0x00000000u, 0x80000000u, 1000, 0, 0) + Visee(0x80000000u, 0x80000000u, 1000, 0, 0) +
                        Visee(0x00010000u, 0x80000000u, 1000, 0, 0) +
                        // Towards a station from none: a splay of that station, read backwards.
                        Visee(0x80000000u, 0x00010000u, 1000, 0, 8192);
  ReseauImport r;
  const std::string chemin = r.Dossier.Fichier("v.top");
  testsupport::EcritOctets(chemin, FichierTop(0, v, 6));
  formats::TImportFichierTop lecteur(&r.R());
  lecteur.TypeAppli = formats::TypeImportPocketTopo;
  ASSERT_TRUE(lecteur.ImporterFichier(chemin));
  ASSERT_EQ(lecteur.ViseesImportes.size(), 4u);
  EXPECT_TRUE(lecteur.UneViseeImporte(3)->ViHabi);
  EXPECT_EQ(lecteur.UneViseeImporte(3)->DesignStat, "1.0");
  EXPECT_EQ(lecteur.UneViseeImporte(3)->Az, 180);
  EXPECT_EQ(lecteur.UneViseeImporte(3)->P, 315);
  EXPECT_EQ(lecteur.UneViseeImporte(0)->DesignStat, "0");
  EXPECT_EQ(lecteur.UneViseeImporte(0)->DesignVis, "1.0");
  EXPECT_TRUE(lecteur.UneViseeImporte(2)->ViHabi);
  EXPECT_EQ(lecteur.UneViseeImporte(2)->DesignStat, "1.0");
}

}  // namespace
}  // namespace testformats
