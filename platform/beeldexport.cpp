#include "platform/beeldexport.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#ifdef ZARVO_SVG
#include <QSvgGenerator>
#endif
#include <QWidget>

#include "platform/picturebox.h"

namespace zarvo::gui {

namespace {

constexpr double schermDpi = 96.0;
// PNG at twice the screen's pixels: sharp when printed or shown on a
// high-density display, still small.
constexpr int pngVergroting = 2;

double titelHoogte(const QPainter& p) { return QFontMetricsF(p.font()).height() * 1.6; }

// The title's height in the box's font, before there is a painter.
double titelHoogteVan(const PictureBox& box) {
  QImage meetBeeld(1, 1, QImage::Format_RGB32);
  QPainter meet(&meetBeeld);
  meet.setFont(box.font());
  return titelHoogte(meet);
}

}  // namespace

bool svgMogelijk() {
#ifdef ZARVO_SVG
  return true;
#else
  return false;
#endif
}

QSizeF zetSchermmaat(QPainter& p, const QPaintDevice& apparaat, const QWidget& voorbeeld) {
  const double schaal = apparaat.logicalDpiX() / schermDpi;
  p.scale(schaal, schaal);
  QFont letter = voorbeeld.font();
  letter.setPixelSize(QFontInfo(voorbeeld.font()).pixelSize());
  p.setFont(letter);
  return {apparaat.width() / schaal, apparaat.height() / schaal};
}

void tekenMetTitel(QPainter& p, const QRectF& doel, PictureBox& box, const Zicht& zicht, const QString& titel) {
  p.save();
  const double h = titelHoogte(p);
  const QFont gewoon = p.font();
  QFont vet = gewoon;
  vet.setBold(true);
  p.setFont(vet);
  p.setPen(Qt::black);
  p.drawText(QRectF(doel.left(), doel.top(), doel.width(), h), Qt::AlignLeft | Qt::AlignVCenter, titel);
  p.setFont(gewoon);
  const QRectF beeld(doel.left(), doel.top() + h, doel.width(), doel.height() - h);
  p.fillRect(beeld, Qt::white);
  p.setPen(QPen(QColor(160, 160, 160), 0));
  p.drawRect(beeld);
  p.setClipRect(beeld);
  p.translate(beeld.topLeft());
  box.schilder(p, beeld.size(), zicht);
  p.restore();
}

std::optional<QString> slaBeeldOp(PictureBox& box, const QString& titel, const QString& pad) {
  const QString soort = QFileInfo(pad).suffix().toLower();
  const QSizeF maat = box.size();
  const auto mislukt = [&pad]() {
    return QStringLiteral("Kan de afbeelding niet opslaan als ") + pad +
           QStringLiteral("\nControleer of de map bestaat en of u er mag schrijven.");
  };
  if (soort == QLatin1String("png")) {
    const double h = titelHoogteVan(box);
    QImage beeld((QSizeF(maat.width(), maat.height() + h) * pngVergroting).toSize(), QImage::Format_RGB32);
    beeld.setDevicePixelRatio(pngVergroting);
    beeld.fill(Qt::white);
    QPainter p(&beeld);
    p.setFont(box.font());
    tekenMetTitel(p, QRectF(QPointF(0, 0), beeld.deviceIndependentSize()), box, box.zicht(), titel);
    p.end();
    if (!beeld.save(pad, "PNG")) return mislukt();
    return std::nullopt;
  }
#ifdef ZARVO_SVG
  if (soort == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setFileName(pad);
    svg.setResolution(static_cast<int>(schermDpi));
    svg.setTitle(titel);
    const double h = titelHoogteVan(box);
    const QSizeF geheel(maat.width(), maat.height() + h);
    svg.setSize(geheel.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), geheel));
    QPainter p;
    if (!p.begin(&svg)) return mislukt();
    p.setFont(box.font());
    tekenMetTitel(p, QRectF(QPointF(0, 0), geheel), box, box.zicht(), titel);
    if (!p.end()) return mislukt();
    return std::nullopt;
  }
#endif
  if (soort == QLatin1String("pdf")) {
    // A page of the picture's own proportions: it goes into a document or
    // onto a slide as it is.
    QPdfWriter pdf(pad);
    pdf.setResolution(300);
    pdf.setTitle(titel);
    pdf.setCreator(QStringLiteral("Zarvo-Edit"));
    const double marge = 12;
    const QSizeF pagina(maat.width() + 2 * marge, maat.height() + 2 * marge + 30);
    pdf.setPageLayout(QPageLayout(QPageSize(pagina * 72.0 / schermDpi, QPageSize::Point), QPageLayout::Portrait,
                                  QMarginsF()));
    QPainter p;
    if (!p.begin(&pdf)) return mislukt();
    const QSizeF ruimte = zetSchermmaat(p, pdf, box);
    tekenMetTitel(p, QRectF(marge, marge, ruimte.width() - 2 * marge, ruimte.height() - 2 * marge), box,
                  box.zicht(), titel);
    if (!p.end()) return mislukt();
    return std::nullopt;
  }
  if (!svgMogelijk()) {
    return QStringLiteral("Onbekend afbeeldingsformaat: kies een naam die eindigt op .png of .pdf.");
  }
  return QStringLiteral("Onbekend afbeeldingsformaat: kies een naam die eindigt op .png, .svg of .pdf.");
}

}  // namespace zarvo::gui
