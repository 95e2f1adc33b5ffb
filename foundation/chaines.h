#pragma once
// Cutting and padding texts, reals as fixed-width text and text as reals, and
// stepping station names.  Counts are in characters (code points), never bytes.
// Numbers always use '.' as the decimal point, whatever the process locale.
#include <cstdint>
#include <string>
#include <string_view>

namespace foundation {

// --- Cutting and padding --------------------------------------------------
std::string ChaineEspaces(int n);
std::string Gauche(std::string_view s, int n);
std::string Droite(std::string_view s, int n);
std::string SansDerniers(std::string_view s, int n);
void CoupeFin(std::string& s, int n);
std::string CoupeDebut(std::string& s, int n);
std::string AvantCar(std::string_view s, char c);
std::string ApresCar(std::string_view s, char c);
std::string ExtraitChamp(std::string& s, char c);
std::string ExtraitChampNet(std::string& s, char c);
std::string CadreAGauche(std::string_view s, int n);
std::string CadreADroite(std::string_view s, int n);
std::string CentreTexte(std::string_view s, int n);
std::string OteBlancs(std::string_view s);
std::string MajusculeInitiale(std::string_view s);
// Texts written on Macintosh machines: characters 131, 136, 137, 142, 143 and
// 144 (as read through Windows-1252) become "E", "à", "â", "é", "è" and "ê".
void ConvertitAccentsMac(std::string& s);

// --- Numbers as text --------------------------------------------------------
// Str (x, w, d): x rounded to d decimals in fixed notation, right-justified in
// at least w characters.  A value wider than w is written in full; a value
// that is not a number gives "NAN", an infinite one "+INF" or "-INF".  Every
// routine below writes only the characters of its number (printable ASCII).
std::string ReelEnStr(double x, int w, int d);
std::string ReelEnStrFixe(double x, int w, int d);
std::string ReelEnStrMetres(double x, int w, int d);
std::string ReelEnStrZeros(double x, int w, int d);
std::string EntierEnStr(int64_t n);
// x correctly rounded to d decimals (0 to 60) in fixed notation, without
// padding and without the sign of a value that rounds to zero; "NAN", "+INF",
// "-INF" as ReelEnStr.
std::string ReelEnTexteFixe(double x, int d);
// Shortest text that reads back as the same double ('.' decimal point);
// "NAN", "+INF", "-INF" as ReelEnStr.
std::string ReelEnTexteExact(double x);

// --- Text as numbers ----------------------------------------------------------
std::string NettoieNombre(std::string_view s);
// Parses a cleaned text as a whole decimal real; false when it is not one.
bool LitReel(std::string_view s, double& valeur);
// Parses a whole decimal integer (optional sign); false when it is not one or
// does not fit 32 bits.
bool LitEntier(std::string_view s, int32_t& valeur);
double TexteEnReel(std::string_view s);
double ExtraitReelErreur(std::string& s, char c, bool& erreur);
double ExtraitReel(std::string& s, char c);
// One-line prompt through the dialog port; false when cancelled.  x receives the
// value of the text; the result is true only when the text was a number.
bool DemandeReel(const std::string& invite, double& x);

// --- Station names --------------------------------------------------------------
std::string IncrementeNom(std::string_view nom, bool monte);
char IncrementeLettre(char c, bool& retenue, bool monte);

}  // namespace foundation
