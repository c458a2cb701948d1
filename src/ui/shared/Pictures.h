#pragma once

#include <QColor>
#include <QPixmap>

#include <cstdint>

class Article;
class DSItem;

// The program's own pictures, painted at run time and cached: system fronts, profile sections,
// colour swatches, the cancel sign and the picture for a missing item. Every picture is square;
// the catalog's pictures are 58 pixels.
namespace pictures {

inline constexpr int kItemSize = 58;

// The colour of a catalog record's rgb field (0x00BBGGRR, red in the low byte).
QColor colorFromRgb(uint32_t bgr);

// Front of a wardrobe with the doors of the system with the given catalog index.
QPixmap systemPicture(int systemIndex, int size = kItemSize);
// Section of a handle profile (kind 0) or a splitter profile (kind 1), sized from its dimA,
// dimB and dimC; any other article gets a plain bar section.
QPixmap profilePicture(const Article& article, int size = kItemSize);
// A swatch painted from a colour's rgb with a soft sheen, so that light and dark colours alike
// read as a metal or foil surface.
QPixmap colorSwatch(uint32_t bgr, int size = kItemSize);
// The prohibition sign of the cancel buttons.
QPixmap cancelPicture(int size = kItemSize);
// The picture for a missing item ("Нет").
QPixmap missingPicture(int size = kItemSize);
// The program's logo strip of the given size.
QPixmap logoPicture(int width, int height);
// The box of a toggle: ticked when on, empty when off.
QPixmap checkBoxPicture(bool on, int size = 18);
// Small toolbar pictures of the project commands.
enum class Command { Open, Save, SaveXml, Print, NewOrder, PlaceOrder, Cancel };
QPixmap commandPicture(Command c, int size = 24);
// Pictures of the splitter tools of the materials panel: the crosshair of the splitter-placing
// mode (with a red dot while it is on), the double arrows of the splitter orientation and the red
// cross of clearing the sketch.
enum class Tool { Crosshair, CrosshairOn, ArrowsVertical, ArrowsHorizontal, Clear };
QPixmap toolPicture(Tool t, int size = 32);

} // namespace pictures
