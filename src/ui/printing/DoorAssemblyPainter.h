#pragma once

#include <QRect>

class QPainter;
struct AssemblyDoor;

// Draws one door alone, to scale, as the workshop assembles it: the frame and splitter profiles,
// each insert's fitted filling with its mark and size, the door's width and height, the
// horizontal splitters' axes measured from the bottom (on the right) and the vertical splitters'
// axes measured from the left (above).
class DoorAssemblyPainter {
public:
    // Draws into rect; dpiY (device pixels per inch) sizes the texts. Returns the height used.
    static int paint(QPainter& painter, const QRect& rect, const AssemblyDoor& door, int dpiY);
    // Width the drawing takes of rect, dimensions included (the door is centred in what is left).
    static int widthNeeded(const QRect& rect, const AssemblyDoor& door, int dpiY);
};
