// Pictures of a picture box for files and pages: PNG, SVG and PDF.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QString>
#include <optional>

#include "platform/zicht.h"

class QPaintDevice;

namespace zarvo::gui {

class PictureBox;

// Whether pictures can be SVG: not where the build has no Qt SVG module
// (the Windows build).
bool svgMogelijk();

// Writes what 'box' shows, zoom included, under the title 'titel' to 'pad';
// the extension (.png, .svg when svgMogelijk(), or .pdf) chooses the format.
// Returns the message to show when that fails.
std::optional<QString> slaBeeldOp(PictureBox& box, const QString& titel, const QString& pad);

// The title line and, under it in a frame, 'box' showing 'zicht', into
// 'doel' (units of screen pixels, see zetSchermmaat).
void tekenMetTitel(QPainter& p, const QRectF& doel, PictureBox& box, const Zicht& zicht, const QString& titel);

// Makes one unit of 'p' on 'apparaat' a screen pixel (1/96 inch) and gives
// it the font of 'voorbeeld' at its screen size, so a page looks like the
// screen whatever the resolution of the page. Returns the page size in
// those units.
QSizeF zetSchermmaat(QPainter& p, const QPaintDevice& apparaat, const QWidget& voorbeeld);

}  // namespace zarvo::gui
