// The pan-and-zoom script of the web SVG export.  It acts on the group
// "viewport" (or the document element): pressing the mouse button starts a
// pan, moving the mouse moves the group by rewriting its "transform" as a
// matrix, releasing the button ends it; the wheel zooms about the pointer by
// (1 + 0.1) to the power of its steps (the wheel delta / 120, or -detail / 3).
#include "formats/export/svg/choix_objets_svg.h"

namespace formats {

const std::vector<std::string>& ScriptPanZoom() {
  static const std::vector<std::string> lignes{
      "<script> <![CDATA[",
      "(function () {",
      "  var panOn = true, zoomOn = true, dragOn = false, zoomPas = 0.1;",
      "  var svg = document.documentElement, actif = false, depart = null, matriceDepart = null;",
      "  function cible() { return document.getElementById('viewport') || svg; }",
      "  // The pointer in the document's user units.",
      "  function pointeur(evt) {",
      "    var p = svg.createSVGPoint();",
      "    p.x = evt.clientX;",
      "    p.y = evt.clientY;",
      "    var m = svg.getScreenCTM();",
      "    return m ? p.matrixTransform(m.inverse()) : p;",
      "  }",
      "  function matrice(el) {",
      "    var t = el.transform && el.transform.baseVal.consolidate();",
      "    return t ? t.matrix : svg.createSVGMatrix();",
      "  }",
      "  function pose(el, m) {",
      "    el.setAttribute('transform', 'matrix(' + [m.a, m.b, m.c, m.d, m.e, m.f].join(',') + ')');",
      "  }",
      "  function molette(evt) {",
      "    if (!zoomOn) return;",
      "    if (evt.preventDefault) evt.preventDefault();",
      "    var pas = evt.wheelDelta ? evt.wheelDelta / 120 : -(evt.detail || 0) / 3;",
      "    if (!pas) return;",
      "    var z = Math.pow(1 + zoomPas, pas), p = pointeur(evt), el = cible();",
      "    var k = svg.createSVGMatrix().translate(p.x, p.y).scale(z).translate(-p.x, -p.y);",
      "    pose(el, k.multiply(matrice(el)));",
      "  }",
      "  function presse(evt) {",
      "    if (!panOn || dragOn) return;",
      "    actif = true;",
      "    depart = pointeur(evt);",
      "    matriceDepart = matrice(cible());",
      "  }",
      "  function bouge(evt) {",
      "    if (!actif) return;",
      "    var p = pointeur(evt);",
      "    pose(cible(), svg.createSVGMatrix().translate(p.x - depart.x, p.y - depart.y).multiply(matriceDepart));",
      "  }",
      "  function relache() { actif = false; }",
      "  svg.addEventListener('mousewheel', molette, {passive: false});",
      "  svg.addEventListener('DOMMouseScroll', molette, {passive: false});",
      "  svg.addEventListener('mousedown', presse, false);",
      "  svg.addEventListener('mousemove', bouge, false);",
      "  svg.addEventListener('mouseup', relache, false);",
      "})();",
      "]]></script>",
  };
  return lignes;
}

}  // namespace formats
