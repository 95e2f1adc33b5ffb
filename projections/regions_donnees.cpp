// The built-in lists of regions 1 to 8.  Every value comes from the public
// geodetic registries as PROJ's database holds them; the source of each line
// and every divergence from its registry twin are in
// projections/outils/sources_regions.tsv, and
// projections/outils/definitions_proj.sh prints the registry definitions.
#include "projections/regions_donnees.h"

namespace projections {

namespace {

// Region 1, "Afrique".
constexpr const char* kLignesAfrique[] = {
    "Ellipsoide=\"Clarke80\" \"Clarke 1880\" 6378249.2 0.0824832568",
    "Datum=\"Merchich\" \"Merchich\" \"Clarke80\" 31 146 47",
    "Projection \"Lambert Conique Tangent\"=\"LT MA I\" \"Lambert Nord Maroc\" \"Merchich\" 0.999625769 "
    "500000 300000 -6g 37g",
    "Projection \"Lambert Conique Tangent\"=\"LT MA II\" \"Lambert Sud Maroc\" \"Merchich\" 0.999615596 "
    "500000 300000 -6g 33g",
    "Projection \"Lambert Conique Tangent\"=\"LT MA III\" \"Lambert Sahara Nord\" \"Merchich\" "
    "0.999616304 1200000 400000 -6g 29g",
    "Projection \"Lambert Conique Tangent\"=\"LT MA IV\" \"Lambert Sahara Sud\" \"Merchich\" 0.999616437 "
    "1500000 400000 -6g 25g",
    "Datum=\"Voirol 75\" \"Voirol 1875\" \"Clarke80\" -73 -247 227",
    "Datum=\"Voirol 60\" \"Voirol Unifié 1960\" \"Clarke80\" -186 -93 310",
    "Datum=\"Nord Sahara 59\" \"Nord Sahara 1959\" \"Clarke80\" -209.3622 -87.8162 404.6198 0.0046 3.4784 "
    "0.5805 -1.4547",
    "Projection \"Lambert Conique Tangent\"=\"Nord Algerie (V60)\" \"Lambert Nord Algérie (Voirol "
    "1960)\" \"Voirol 60\" 0.999625544 500135 300090 3g 40g",
    "Projection \"Lambert Conique Tangent\"=\"Sud Algerie (V60)\" \"Lambert Sud Algérie (Voirol 1960)\" "
    "\"Voirol 60\" 0.999625769 500135 300090 3g 37g",
    "Projection \"Lambert Conique Tangent\"=\"Nord Algerie (V75)\" \"Lambert Nord Algérie (Voirol "
    "1875)\" \"Voirol 75\" 0.999625544 500000 300000 3g 40g",
    "Projection \"Lambert Conique Tangent\"=\"Sud Algerie (V75)\" \"Lambert Sud Algérie (Voirol 1875)\" "
    "\"Voirol 75\" 0.999625769 500000 300000 3g 37g",
    "Datum=\"Carthage 25\" \"Carthage 1925\" \"Clarke80\" -263 6 431",
    "Projection \"Lambert Conique Tangent\"=\"Nord Tunisie IGN\" \"Lambert Nord Tunisie (IGN)\" "
    "\"Carthage 25\" 0.999625544 500000 300000 11g 40g",
    "Projection \"Lambert Conique Tangent\"=\"Sud Tunisie IGN\" \"Lambert Sud Tunisie (IGN)\" \"Carthage "
    "25\" 0.999625769 500000 300000 11g 37g",
    "Projection \"Lambert Conique Tangent\"=\"Nord Tunisie OTC\" \"Lambert Nord Tunisie (OTC)\" "
    "\"Carthage 25\" 0.999625544 500000 300000 9.9° 36°",
    "Projection \"Lambert Conique Tangent\"=\"Sud Tunisie OTC\" \"Lambert Sud Tunisie (OTC)\" \"Carthage "
    "25\" 0.999625769 500000 300000 9.9° 33.3°",
};

// Region 2, "Amérique Centrale".
constexpr const char* kLignesAmeriqueCentrale[] = {
    "Ellipsoide=\"Clarke66\" \"Clarke 1866\" 6378206.4 0.0822718542",
    "Datum=\"Ocotepeque 1935\" \"Ocotepeque 1935\" \"Clarke66\" 213.11 9.37 -74.95",
    "Projection \"Lambert Conique Tangent\"=\"LT Norte\" \"Lambert Norte (Costa Rica)\" \"Ocotepeque "
    "1935\" 0.99995696 500000 271820.522 -84°20' 10°28'",
    "Projection \"Lambert Conique Tangent\"=\"LT Sure\" \"Lambert Sur (Costa Rica)\" \"Ocotepeque 1935\" "
    "0.99995696 500000 327987.436 -83°40' 9°",
};

// Region 3, "Amérique du Nord".
constexpr const char* kLignesAmeriqueNord[] = {
    "Ellipsoide=\"Clarke66\" \"Clarke 1866\" 6378206.4 0.0822718542",
    "Datum=\"NAD 27\" \"North American Datum 1927\" \"Clarke66\" -8 160 176",
    "Datum=\"NAD 83\" \"North American Datum 1983\" \"GRS 80\" 0 0 0",
    "Projection \"Hotine\"=\"Alaska 5001\" \"Alaska zone 1 (NAD 27)\" \"NAD 27\" 0.9999 5000000 -5000000 "
    "-133°40' 57° -36.8698976458°",
    "Multiple \"Transverse Mercator Multiple\"=\"MTM NAD27\" \"Modified Transverse Mercator (NAD 27)\" "
    "\"NAD 27\" 0.9999 304800 0 10000000 -52.5° -3°",
    "Multiple \"Transverse Mercator Multiple\"=\"MTM NAD83\" \"Modified Transverse Mercator (NAD 83)\" "
    "\"NAD 83\" 0.9999 304800 0 10000000 -52.5° -3°",
};

// Region 4, "Asie".
constexpr const char* kLignesAsie[] = {
    "Ellipsoide=\"Krassovsky\" \"Krassovsky 1940\" 6378245 0.0818133340",
    "Datum=\"Vientiane 82\" \"Vientiane 1982\" \"Krassovsky\" 42.358 -124.688 -37.366",
    "Datum=\"Vientiane 93\" \"Lao 1993\" \"Krassovsky\" 43.933 -129.593 -39.331",
    "Datum=\"Lao 97\" \"Lao 1997\" \"Krassovsky\" 44.585 -131.212 -39.544",
    "Projection \"Transverse Mercator\"=\"Laos Map 82\" \"Laos (Vientiane 1982)\" \"Vientiane 82\" 1 "
    "500000 0 105° 0°",
};

// Region 5, "Dom Tom (France)".
constexpr const char* kLignesDomTom[] = {
    "Ellipsoide=\"Clarke66\" \"Clarke 1866\" 6378206.4 0.0822718542",
    "Ellipsoide=\"Clarke80\" \"Clarke 1880\" 6378249.2 0.0824832568",
    "Ellipsoide=\"Hayford 09\" \"Hayford 1909\" 6378388 0.0819918900",
    "Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.0819918900",
    "Datum=\"St-Pierre et Miquelon 1950\" \"St-Pierre et Miquelon 1950\" \"Clarke66\" 11.363 424.148 "
    "373.13",
    "Projection \"UTM Fuseau\"=\"St-Pierre-Miquelon 50\" \"St-Pierre et Miquelon (1950)\" \"St-Pierre et "
    "Miquelon 1950\" 21 0",
    "Datum=\"Fort-Marigot\" \"Guadeloupe (Fort-Marigot)\" \"Hayford 24\" 137 248 -430",
    "Datum=\"Ste-Anne\" \"Guadeloupe (Ste-Anne)\" \"Hayford 24\" -472.29 -5.63 -304.12 0.4362 -0.8374 "
    "0.2563 1.8984",
    "Projection \"UTM Fuseau\"=\"Guadeloupe FM\" \"Guadeloupe (Fort-Marigot)\" \"Fort-Marigot\" 20 0",
    "Projection \"UTM Fuseau\"=\"Guadeloupe SA\" \"Guadeloupe (Ste-Anne)\" \"Ste-Anne\" 20 0",
    "Datum=\"Fort-Desaix\" \"Martinique (Fort-Desaix)\" \"Hayford 24\" 126.93 547.94 130.41 -2.7867 "
    "5.1612 -0.8584 13.8227",
    "Projection \"UTM Fuseau\"=\"Martinique FD\" \"Martinique (Fort-Desaix)\" \"Fort-Desaix\" 20 0",
    "Datum=\"CSG67\" \"Guyane (CSG 1967)\" \"Hayford 24\" -186 230 110",
    "Datum=\"RGFG95\" \"Guyane (RGFG 95)\" \"GRS 80\" 0 0 0",
    "Projection \"UTM Fuseau\"=\"Guyane 67-21\" \"Guyane (CSG 1967) fuseau 21\" \"CSG67\" 21 0",
    "Projection \"UTM Fuseau\"=\"Guyane 67-22\" \"Guyane (CSG 1967) fuseau 22\" \"CSG67\" 22 0",
    "Projection \"UTM Fuseau\"=\"Guyane 95-21\" \"Guyane (RGFG 95) fuseau 21\" \"RGFG95\" 21 0",
    "Projection \"UTM Fuseau\"=\"Guyane 95-22\" \"Guyane (RGFG 95) fuseau 22\" \"RGFG95\" 22 0",
    "Datum=\"Piton-des-Neiges\" \"Réunion (Piton des Neiges)\" \"Hayford 24\" 94 -948 -1262",
    "Datum=\"RGR 92\" \"Réunion (RGR 92)\" \"GRS 80\" 0 0 0",
    "Projection \"Gauss Laborde Courbure\"=\"Réunion PN\" \"Réunion (Piton des Neiges)\" "
    "\"Piton-des-Neiges\" 1 160000 50000 55°32' -21°07'",
    "Projection \"UTM Fuseau\"=\"Réunion RGR92\" \"Réunion (RGR 92)\" \"RGR 92\" 40 1",
    "Datum=\"Combani 1950\" \"Mayotte (Combani 1950)\" \"Hayford 24\" -382 -59 -262",
    "Datum=\"Cadastre 1997\" \"Mayotte (Cadastre 1997)\" \"Hayford 24\" -381.788 -57.501 -256.673",
    "Projection \"UTM Fuseau\"=\"Mayotte 1950\" \"Mayotte (Combani 1950)\" \"Combani 1950\" 38 1",
    "Projection \"UTM Fuseau\"=\"Mayotte 1997\" \"Mayotte (Cadastre 1997)\" \"Cadastre 1997\" 38 1",
    "Projection \"UTM Fuseau\"=\"Mayotte 2004\" \"Mayotte (RGM 04)\" \"WGS84\" 38 1",
    "Datum=\"K0 1949\" \"Kerguelen (K0 1949)\" \"Hayford 24\" 145 -187 103",
    "Projection \"UTM Fuseau\"=\"Kerguelen 1949\" \"Kerguelen (K0 1949)\" \"K0 1949\" 42 1",
    "Datum=\"Petrels-IGN 1972\" \"Terre Adélie (Petrels-IGN 1972)\" \"Hayford 24\" 365 194 166",
    "Datum=\"Pointe Géologie-Perroud 1950\" \"Terre Adélie (Pointe Géologie-Perroud 1950)\" \"Hayford "
    "24\" 325 154 172",
    "Projection \"Stéréographique Polaire\"=\"Terre Adélie Petrels\" \"Terre Adélie (Petrels-IGN "
    "1972)\" \"Petrels-IGN 1972\" 0.9995341 0 0 39°09' 1",
    "Projection \"Stéréographique Polaire\"=\"Terre Adélie Pointe Géologie\" \"Terre Adélie (Pointe "
    "Géologie-Perroud 1950)\" \"Pointe Géologie-Perroud 1950\" 0.9995341 0 0 39°09' 1",
    "Datum=\"IGN56 LIFOU\" \"Lifou (IGN 1956)\" \"Hayford 24\" 335.47 222.58 -230.94",
    "Datum=\"IGN53 MARE\" \"Maré (IGN 1953)\" \"Hayford 24\" 287.58 177.78 -135.41",
    "Datum=\"ST87 OUVEA\" \"Ouvéa (ST 1987)\" \"GRS 80\" -56.263 16.136 -22.856",
    "Datum=\"IGN72 GRANDE TERRE\" \"Grande Terre (IGN 1972)\" \"Hayford 24\" -11.64 -348.6 291.98",
    "Datum=\"ST84 - ILE DES PINS\" \"Île des Pins (ST 1984)\" \"Hayford 24\" -13 -348 292",
    "Datum=\"ST71 - BELEP\" \"Belep (ST 1971)\" \"Hayford 24\" -480.26 -438.32 -643.429 16.3119 20.1721 "
    "-4.0349 -111.7002",
    "Datum=\"NEA74 - NOUMEA\" \"Nouméa (NEA 1974)\" \"Hayford 24\" -10.18 -350.43 291.37",
    "Projection \"UTM Fuseau\"=\"UTM58 Lifou 56\" \"Lifou (IGN 1956) UTM 58\" \"IGN56 LIFOU\" 58 1",
    "Projection \"UTM Fuseau\"=\"UTM58 Maré 53\" \"Maré (IGN 1953) UTM 58\" \"IGN53 MARE\" 58 1",
    "Projection \"UTM Fuseau\"=\"UTM58 ST87\" \"Ouvéa (ST 1987) UTM 58\" \"ST87 OUVEA\" 58 1",
    "Projection \"UTM Fuseau\"=\"UTM57 RGNC 1991\" \"Nouvelle-Calédonie (RGNC 1991) UTM 57\" \"WGS84\" "
    "57 1",
    "Projection \"UTM Fuseau\"=\"UTM58 RGNC 1991\" \"Nouvelle-Calédonie (RGNC 1991) UTM 58\" \"WGS84\" "
    "58 1",
    "Projection \"UTM Fuseau\"=\"UTM59 RGNC 1991\" \"Nouvelle-Calédonie (RGNC 1991) UTM 59\" \"WGS84\" "
    "59 1",
    "Projection \"Lambert Conique Sécant\"=\"Lambert Nouvelle Calédonie\" \"Lambert Nouvelle-Calédonie "
    "(RGNC 1991)\" \"WGS84\" 400000 300000 166° -21°30' -20°40' -22°20'",
    "Projection \"UTM Fuseau\"=\"UTM58 IGN72 GRANDE TERRE\" \"Grande Terre (IGN 1972) UTM 58\" \"IGN72 "
    "GRANDE TERRE\" 58 1",
    "Projection \"UTM Fuseau\"=\"UTM58 ST84-ILE DES PINS\" \"Île des Pins (ST 1984) UTM 58\" \"ST84 - "
    "ILE DES PINS\" 58 1",
    "Projection \"UTM Fuseau\"=\"UTM58 ST71-BELEP\" \"Belep (ST 1971) UTM 58\" \"ST71 - BELEP\" 58 1",
    "Projection \"Lambert Conique Sécant\"=\"Lambert Nouméa\" \"Lambert Nouméa (NEA 1974)\" \"NEA74 - "
    "NOUMEA\" 0.66 1.02 166.44242575° -22.26969175° -22.24469175° -22.29469175°",
    "Projection \"Lambert Conique Sécant\"=\"Lambert Nouméa2\" \"Lambert Nouméa 2 (NEA 1974)\" \"NEA74 "
    "- NOUMEA\" 8.313 -2.354 166°26'33'' -22°16'11'' -22°14'41'' -22°17'41''",
    "Datum=\"Tahiti 79\" \"Tahiti (IGN 1979)\" \"Hayford 24\" 221.597 152.441 176.523 2.403 1.3893 0.884 "
    "11.4648",
    "Datum=\"MOOREA 87\" \"Moorea (1987)\" \"Hayford 24\" 218.769 150.75 176.75 3.5231 2.0037 1.288 "
    "10.9817",
    "Datum=\"MAUPITI 83\" \"Maupiti (MOP 1983)\" \"Hayford 24\" 217.109 86.452 23.711 0.0183 -0.0003 "
    "0.007 -0.0093",
    "Datum=\"BOR-HUA-RTA-TAA 51-54\" \"Bora Bora, Huahine, Raiatea, Tahaa (1951-1954)\" \"Hayford 24\" "
    "72.51 345.411 79.241 -1.5862 -0.8826 -0.5495 1.3653",
    "Datum=\"Nuku Hiva\" \"Nuku Hiva (IGN 1972)\" \"Hayford 24\" 165.804 216.213 180.26 -0.6251 -0.4515 "
    "-0.0721 7.4111",
    "Datum=\"HIVA OA (IGN 63)\" \"Hiva Oa (IGN 1963)\" \"Hayford 24\" 410.793 54.542 80.501 -2.5596 "
    "-2.3517 -0.6594 17.3218",
    "Datum=\"UA HUKA (IGN 72)\" \"Ua Huka (IGN 1972)\" \"Hayford 24\" 1363.857 1362.18 398.566 -4.5139 "
    "-6.7582 -1.0504 268.3517",
    "Datum=\"UA POU (IGN 72)\" \"Ua Pou (IGN 1972)\" \"Hayford 24\" 259.623 297.105 197.588 1.5049 2.1221 "
    "0.4682 27.0156",
    "Datum=\"TAHUATA (IGN 63)\" \"Tahuata (IGN 1963)\" \"Hayford 24\" 374.787 -58.914 -1.202 -16.1928 "
    "-11.4629 -5.5287 -0.5502",
    "Datum=\"FATU IVA (MHEFO 55)\" \"Fatu Hiva (MHEFO 1955)\" \"Hayford 24\" 347.175 1077.618 2623.677 "
    "33.9058 -70.6776 9.4013 186.0647",
    "Datum=\"Tahaa\" \"Tahaa (1954)\" \"Hayford 24\" 65 342 77",
    "Datum=\"Tahiti-Terme Nord\" \"Tahiti (Terme Nord)\" \"Hayford 24\" 162 117 154",
    "Datum=\"MOP78\" \"Wallis (MOP 1978)\" \"Hayford 24\" 253 -132 -127",
    "Projection \"UTM Fuseau\"=\"UTM6 Tahiti 79\" \"Tahiti (IGN 1979) UTM 6\" \"Tahiti 79\" 6 1",
    "Projection \"UTM Fuseau\"=\"UTM6 MOOREA 87\" \"Moorea (1987) UTM 6\" \"MOOREA 87\" 6 1",
    "Projection \"UTM Fuseau\"=\"Îles de la Société Tahiti\" \"Îles de la Société (Tahiti Terme "
    "Nord) UTM 6\" \"Tahiti-Terme Nord\" 6 1",
    "Projection \"UTM Fuseau\"=\"Wallis\" \"Wallis (MOP 1978) UTM 1\" \"MOP78\" 1 1",
    "Projection \"UTM Fuseau\"=\"Îles de la Société Tahaa\" \"Îles de la Société (Tahaa) UTM 5\" "
    "\"Tahaa\" 5 1",
    "Projection \"UTM Fuseau\"=\"Îles Marquises IGN72\" \"Îles Marquises (Nuku Hiva IGN 1972) UTM 7\" "
    "\"Nuku Hiva\" 7 1",
};

// Region 6, "Europe".
constexpr const char* kLignesEurope[] = {
    "Ellipsoide=\"Bessel\" \"Bessel 1841\" 6377397.155 0.0816968312",
    "Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.0819918900",
    "Ellipsoide=\"Danish 1876\" \"Danish 1876\" 6377019.27 0.0815815883",
    "Ellipsoide=\"Airy 1830\" \"Airy 1830\" 6377563.396 0.0816733739",
    "Datum=\"RT 90\" \"Rikets triangelnät 1990\" \"Bessel\" 414.1 41.3 603.1 -0.855 2.141 -7.023 0",
    "Projection \"Transverse Mercator\"=\"RT90V0:-15\" \"RT90 2.5 gon V 0:-15\" \"RT 90\" 1 1500000 0 "
    "15°48'29.8'' 0°",
    "Projection \"Transverse Mercator\"=\"RT90V0:-15 bis\" \"RT90 2.5 gon V 0:-15 (SWEREF 99)\" \"WGS84\" "
    "1.00000561024 1500064.274 -667.711 15.8062845294444° 0°",
    "Multiple \"Transverse Mercator Multiple\"=\"RT90 2.5 gon\" \"RT90 2.5 gon (multi-zone)\" \"RT 90\" 1 "
    "1500000 0 0 11°18'29.8'' 2.5g",
    "Projection \"Transverse Mercator\"=\"RT90V61:-1\" \"RT90 V 61:-1\" \"RT 90\" 1 1500000 0 "
    "15°48'29.8'' 0°",
    "Datum=\"RD 1918\" \"Amersfoort (RD)\" \"Bessel\" 565.2369 50.0087 465.658 -0.406857330322398 "
    "0.350732676542563 -1.8703473836068 4.0812",
    "Projection \"Stéréographique Bitangente\"=\"Netherlands\" \"Pays-Bas (RD)\" \"RD 1918\" 0.9999079 "
    "155000 463000 5°23'15.5'' 52°09'22.178''",
    "Datum=\"RM40\" \"Monte Mario (Roma 1940)\" \"Hayford 24\" -104.1 -49.1 -9.9 0.971 -2.917 0.714 "
    "-11.68",
    "Datum=\"RM40 Sardaigne\" \"Monte Mario (Roma 1940), Sardaigne\" \"Hayford 24\" -168.6 -34 38.6 "
    "-0.374 -0.679 -1.379 -9.48",
    "Datum=\"RM40 Sicile\" \"Monte Mario (Roma 1940), Sicile\" \"Hayford 24\" -50.2 -50.4 84.8 -0.69 "
    "-2.012 0.459 -28.08",
    "Projection \"Transverse Mercator\"=\"fuso Ovest 40\" \"Gauss-Boaga fuso Ovest\" \"RM40\" 0.9996 "
    "1500000 0 9° 0°",
    "Projection \"Transverse Mercator\"=\"fuso Est 40\" \"Gauss-Boaga fuso Est\" \"RM40\" 0.9996 2520000 "
    "0 15° 0°",
    "Datum=\"Rauenberg\" \"DHDN (Rauenberg)\" \"Bessel\" 598.1 73.7 418.2 0.202 0.045 -2.455 6.7",
    "Multiple \"Transverse Mercator Multiple\"=\"Deutsch KG\" \"Gauss-Krüger (DHDN)\" \"Rauenberg\" 1 "
    "500000 0 10000000 3° 3°",
    "Datum=\"LUREF\" \"Luxembourg 1930\" \"Hayford 24\" -189.6806 18.3463 -42.7695 -0.33746 -3.09264 "
    "2.53861 0.4598",
    "Projection \"Transverse Mercator\"=\"PG Lu\" \"Luxembourg Gauss\" \"LUREF\" 1 80000 100000 6°10' "
    "49°50'",
    "Datum=\"BD 72\" \"Belge 1972\" \"Hayford 24\" -106.8686 52.2978 -103.7239 0.3366 -0.457 1.8422 "
    "-1.2747",
    "Projection \"Lambert Conique Sécant\"=\"LT 72\" \"Lambert belge 1972\" \"BD 72\" 150000.013 "
    "5400088.438 4°22'02.952'' 90° 51°10'00.00204'' 49°50'00.00204''",
    "Projection \"Lambert Conique Sécant\"=\"LT 08\" \"Lambert belge 2008\" \"WGS84\" 649328 665262 "
    "4°21'33.177'' 50°47'52.134'' 49°50' 51°10'",
    "Datum=\"CH03\" \"CH1903\" \"Bessel\" 674.374 15.056 405.346",
    "Datum=\"CH03+\" \"CH1903+\" \"Bessel\" 674.374 15.056 405.346",
    "Projection \"Gauss Rosenmund\"=\"Suisse MN03\" \"Suisse MN03 (CH1903)\" \"CH03\" 600000 200000 "
    "7°26'22.50'' 46°57'08.66''",
    "Projection \"Gauss Rosenmund\"=\"Suisse MN95\" \"Suisse MN95 (CH1903+)\" \"CH03+\" 2600000 1200000 "
    "7°26'22.50'' 46°57'08.66''",
    "Datum=\"Reykjavík 1900\" \"Reykjavík 1900\" \"Danish 1876\" -28 199 5",
    "Datum=\"Hjörsey 1955\" \"Hjörsey 1955\" \"Hayford 24\" -73 47 -83",
    "Projection \"Lambert Conique Tangent\"=\"Islandic Lambert 1900\" \"Islande Lambert 1900\" "
    "\"Reykjavík 1900\" 1 0 0 -19°01'19.65'' 65°",
    "Multiple \"Transverse Mercator Multiple\"=\"Islandic KG 55\" \"Islande UTM (Hjörsey 1955)\" "
    "\"Hjörsey 1955\" 0.9996 500000 0 10000000 -177° 6°",
    "Projection \"Lambert Conique Tangent\"=\"Islandic Lambert 55\" \"Islande Lambert 1955\" \"Hjörsey "
    "1955\" 1 500000 500000 -18° 65°",
    "Projection \"Lambert Conique Sécant\"=\"Islandic Lambert 93\" \"Islande Lambert 1993\" \"WGS84\" "
    "500000 500000 -19° 65° 64°15' 65°45'",
    "Datum=\"AT_MGI\" \"Militärgeographisches Institut\" \"Bessel\" 577.326 90.129 463.919 5.137 1.474 "
    "5.297 2.4232",
    "Projection \"Transverse Mercator\"=\"Autriche 3\" \"Autriche Gauss-Krüger zone 3\" \"AT_MGI\" 1 "
    "3500000 0 9° 0°",
    "Projection \"Transverse Mercator\"=\"Autriche 4\" \"Autriche Gauss-Krüger zone 4\" \"AT_MGI\" 1 "
    "4500000 0 12° 0°",
    "Projection \"Transverse Mercator\"=\"Autriche 5\" \"Autriche Gauss-Krüger zone 5\" \"AT_MGI\" 1 "
    "5500000 0 15° 0°",
    "Projection \"Transverse Mercator\"=\"Autriche 6\" \"Autriche Gauss-Krüger zone 6\" \"AT_MGI\" 1 "
    "6500000 0 18° 0°",
    "Datum=\"OSGB36\" \"Ordnance Survey of Great Britain 1936\" \"Airy 1830\" 446.448 -125.157 542.06 "
    "0.15 0.247 0.842 -20.489",
    "Projection \"Transverse Mercator\"=\"English National Grid\" \"British National Grid\" \"OSGB36\" "
    "0.9996012717 400000 -100000 -2° 49°",
    "Datum=\"Lisboa\" \"Lisbonne 1890\" \"Bessel\" 508.088 -191.042 565.223",
    "Datum=\"Lisboa Hayford\" \"Lisbonne 1937\" \"Hayford 24\" -304.046 -60.576 103.64",
    "Datum=\"Datum 73\" \"Datum 73\" \"Hayford 24\" -223.237 110.193 36.649",
    "Datum=\"Porto Santo\" \"Porto Santo 1936\" \"Hayford 24\" -499 -249 314",
    "Datum=\"Sâo Bras\" \"Açores orientales 1940 (São Brás)\" \"Hayford 24\" -203 141 53",
    "Projection \"Transverse Mercator\"=\"Portugal continental\" \"Portugal continental (Datum 73)\" "
    "\"Datum 73\" 1 180.598 -86.99 -8°07'54.862'' 39°40'",
    "Projection \"Transverse Mercator\"=\"Sâo Jorges\" \"Portugal (origine São Jorge)\" \"Lisboa "
    "Hayford\" 1 0 0 -8°07'54.862'' 39°40'",
    "Projection \"UTM Fuseau\"=\"Ile de Faial\" \"Île de Faial UTM 26\" \"Sâo Bras\" 26 0",
    "Projection \"UTM Fuseau\"=\"Ile de Pico\" \"Île de Pico UTM 26\" \"Sâo Bras\" 26 0",
    "Projection \"UTM Fuseau\"=\"Ile de Graciosa\" \"Île de Graciosa UTM 26\" \"Sâo Bras\" 26 0",
    "Projection \"UTM Fuseau\"=\"Ile de Porto Santo\" \"Île de Porto Santo UTM 28\" \"Porto Santo\" 28 0",
    "Projection \"UTM Fuseau\"=\"Ile de Madère et Désert\" \"Îles de Madère et Desertas UTM 28\" "
    "\"Porto Santo\" 28 0",
};

// Region 7, "Océanie".
constexpr const char* kLignesOceanie[] = {
    "Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.0819918900",
    "Datum=\"NZGD 49\" \"New Zealand Geodetic Datum 1949\" \"Hayford 24\" 59.47 -5.04 187.44 0.47 -0.1 "
    "1.024 -4.5993",
    "Projection \"New Zealand Map Grid\"=\"NZMG 49\" \"New Zealand Map Grid\" \"NZGD 49\" 2510000 6023150 "
    "173° -41°",
    "Datum=\"DOS 65\" \"Santo (DOS) 1965\" \"Hayford 24\" 170 42 84",
    "Projection \"UTM Fuseau\"=\"SANTO\" \"Espiritu Santo UTM 58\" \"DOS 65\" 58 1",
    "Projection \"UTM Fuseau\"=\"EFATE\" \"Efate UTM 59\" \"DOS 65\" 59 1",
};

// Region 8, "Océan indien".
constexpr const char* kLignesOceanIndien[] = {
    "Ellipsoide=\"Hayford 24\" \"Hayford 1924\" 6378388 0.0819918900",
    "Datum=\"TANA 25\" \"Tananarive 1925\" \"Hayford 24\" -198.383 -240.517 -107.909",
    "Projection \"Gauss Laborde Oblique\"=\"Laborde\" \"Laborde Madagascar\" \"TANA 25\" 0.9995 400000 "
    "800000 46.43722917° -21g 21g",
    "Ellipsoide=\"Clarke80\" \"Clarke 1880 (RGS)\" 6378249.145 0.0824834000",
    "Datum=\"Le Pouce\" \"Le Pouce 1934\" \"Clarke80\" -770.1 158.4 -498.2",
    "Projection \"Lambert Conique Tangent\"=\"Maurice 34\" \"Maurice (Le Pouce 1934)\" \"Le Pouce\" 1 "
    "1000000 1000000 57°31'18.58'' -20°11'42.25''",
};

}  // namespace

const std::array<std::span<const char* const>, 9>& ListesRegionales() {
  static const std::array<std::span<const char* const>, 9> listes = {{
      {},  // region 0 lives with the region table
      kLignesAfrique,
      kLignesAmeriqueCentrale,
      kLignesAmeriqueNord,
      kLignesAsie,
      kLignesDomTom,
      kLignesEurope,
      kLignesOceanie,
      kLignesOceanIndien,
  }};
  return listes;
}

}  // namespace projections
