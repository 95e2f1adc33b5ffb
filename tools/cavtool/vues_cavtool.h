#pragma once
// cavtool plan FILE.cav OUT.png [--largeur W --hauteur H] and cavtool coupe
// FILE.cav CAVITE OUT.png: the plan of the document's caves, or the named
// cave's developed elevation, drawn by the views' own model (no window)
// framed on the whole network, written as a PNG picture; the view transform
// printed on standard output:
//   origine X Y     the ground point (plan X Y, or elevation SlH Z) at the
//                   picture's top-left pixel corner
//   echelle E       pixels per metre (x grows to the right, y downward)
// so that a pixel is round((X - Xo) * E), round((Yo - Y) * E).
#include <string>
#include <vector>

namespace cavtool {

// Built with the GUI only.  0 done, 1 failed (said on standard error), 2
// a usage error.
int VuePlan(const std::vector<std::string>& a);
int VueCoupe(const std::vector<std::string>& a);

}  // namespace cavtool
