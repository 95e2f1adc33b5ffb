#pragma once
// The frame of one page of a layout's page grid over the drawing: moved with
// the mouse, it carries its page (the ground rectangle the sheet shows).
#include <cstdint>

#include "drawing/deplacable.h"
#include "views/page_semis.h"

namespace views {

class TDessinPageSemis : public drawing::TDessinRectDepl {
 public:
  explicit TDessinPageSemis(TPageSemis* page);

  TPageSemis* LaPage() const { return page_; }
  // Placed: the centre is the middle of the page's corners, and the page
  // and frame are rebuilt around it.
  void InitDimensions() override;
  // Unplaced, the centre follows the cursor; the page is rebuilt around the
  // centre: corners of DimLpage x DimHpage, the frame's points bottom left,
  // top left, top right, bottom right.
  void Deplace(int32_t Xs, int32_t Ys) override;
  // The frame (green for the active page, red for the index sheet, the
  // page's colour otherwise) with the page number at its lower left.
  void DessineCetObjet(platform::Canvas& canvas) override;

 private:
  void ReconstruitPage();
  TPageSemis* page_;
};

}  // namespace views
