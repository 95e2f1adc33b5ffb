#pragma once
// Canvas text routines: measures of a text in a font, a block of lines
// written above a point, and a text turned by an angle.
#include <string>

#include "platform/canvas.h"

namespace foundation {

// Pixel width of the text in the font.
int LargeurTexteFonte(const platform::CanvasFont& fonte, const std::string& texte);
// Pixel height of "T" in the font (the height of a text cell).
int HauteurTexteFonte(const platform::CanvasFont& fonte);

// Writes the lines of a text in the canvas font as a block whose bottom is at
// y (centred on y when centreVerticalement), its left edge at x.  Mode 0
// aligns the lines on the left, 1 centres them, 2 aligns them on the right;
// bit 0x80 first joins all lines into one (then they start at x).  With
// cadre, the block's rectangle is outlined with the pen.  Nothing is drawn
// for a blank text.
void DessineTexteMultiLigne(platform::Canvas& canvas, const std::string& texte, int x, int y, bool cadre,
                            bool centreVerticalement, int mode);

// Writes the text turned by the angle (radians, counter-clockwise), its start
// moved from (x, y) by one text height across the writing direction, with a
// box around it when encadre; the canvas font is left as it was.
void TexteTourne(platform::Canvas& canvas, double x, double y, double angle, const std::string& texte,
                 bool encadre);

}  // namespace foundation
