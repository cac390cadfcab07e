#include "platform/beeldbalk.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <vector>

#include "platform/beeldexport.h"
#include "platform/berichten.h"
#include "platform/instellingen.h"
#include "platform/picturebox.h"

namespace zarvo::gui {

namespace {

const QString mapAfbeeldingen = QStringLiteral("afbeeldingen");

// A file name from a title: the profile name without the "(3/17)" behind
// it, and without the characters no file system takes.
QString bestandsnaamUit(const QString& titel) {
  QString naam = titel.section(QStringLiteral(" ("), 0, 0).trimmed();
  for (const QChar c : QStringLiteral("/\\:*?\"<>|")) naam.replace(c, QLatin1Char('_'));
  return naam.isEmpty() ? QStringLiteral("profiel") : naam;
}

}  // namespace

Beeldbalk::Beeldbalk(PictureBox* box, std::function<QString()> titel, QWidget* ouder)
    : QWidget(ouder), box_(box), titel_(std::move(titel)) {
  setObjectName(QStringLiteral("balk") + box->objectName().mid(3));  // picXY -> balkXY
  cmdPassend_ = new QPushButton(QStringLiteral("Passend"), this);
  cmdPassend_->setObjectName("cmdPassend");
  cmdPassend_->setToolTip(
      QStringLiteral("Terug naar het hele profiel (Home)\nWiel: zoomen, slepen: schuiven, Shift+slepen: zoomen op kader"));
  chkRaster_ = new QCheckBox(QStringLiteral("Raster"), this);
  chkRaster_->setObjectName("chkRaster");
  chkRaster_->setChecked(box->raster());
  cmdAfbeeldingOpslaan_ = new QPushButton(QStringLiteral("Afbeelding opslaan…"), this);
  cmdAfbeeldingOpslaan_->setObjectName("cmdAfbeeldingOpslaan");
  cmdAfbeeldingOpslaan_->setToolTip(svgMogelijk() ? QStringLiteral("De tekening zoals getoond als PNG, SVG of PDF")
                                                : QStringLiteral("De tekening zoals getoond als PNG of PDF"));

  rij_ = new QHBoxLayout(this);
  rij_->setContentsMargins(0, 0, 0, 0);
  rij_->addWidget(cmdPassend_);
  rij_->addWidget(chkRaster_);
  rij_->addWidget(cmdAfbeeldingOpslaan_);
  rij_->addStretch(1);

  connect(cmdPassend_, &QPushButton::clicked, box_, &PictureBox::passend);
  connect(chkRaster_, &QCheckBox::toggled, box_, &PictureBox::setRaster);
  connect(cmdAfbeeldingOpslaan_, &QPushButton::clicked, this, &Beeldbalk::vraagBestandEnSlaOp);
}

void Beeldbalk::voegToe(QWidget* knop) { rij_->insertWidget(rij_->count() - 1, knop); }

bool Beeldbalk::slaOp(const QString& pad) {
  if (const auto fout = slaBeeldOp(*box_, titel_(), pad)) {
    toonBericht(*fout, QStringLiteral("Fout!"), Icoon::Kritiek);
    return false;
  }
  onthoudMap(mapAfbeeldingen, QFileInfo(pad).absolutePath());
  return true;
}

void Beeldbalk::vraagBestandEnSlaOp() {
  const QString png = QStringLiteral("PNG-afbeelding (*.png)");
  const QString svg = QStringLiteral("SVG-tekening (*.svg)");
  const QString pdf = QStringLiteral("PDF-document (*.pdf)");
  QString filter = png;
  const QString voorstel = QDir(onthoudenMap(mapAfbeeldingen)).filePath(bestandsnaamUit(titel_()) + QStringLiteral(".png"));
  const QString soorten = svgMogelijk() ? png + QStringLiteral(";;") + svg + QStringLiteral(";;") + pdf
                                      : png + QStringLiteral(";;") + pdf;
  QString pad =
      QFileDialog::getSaveFileName(this, QStringLiteral("Afbeelding opslaan"), voorstel, soorten, &filter);
  if (pad.isEmpty()) return;
  // A name typed without an extension gets the one of the chosen type.
  const QString soort = QFileInfo(pad).suffix().toLower();
  if (soort != QLatin1String("png") && (soort != QLatin1String("svg") || !svgMogelijk()) &&
      soort != QLatin1String("pdf")) {
    pad += filter == svg ? QStringLiteral(".svg") : filter == pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
  }
  if (slaOp(pad)) meldOpgeslagen(pad);
}

void Beeldbalk::installeerPassendToets(QWidget* scherm, std::initializer_list<Beeldbalk*> balken) {
  auto* toets = new QShortcut(QKeySequence(Qt::Key_Home), scherm);
  toets->setContext(Qt::WidgetWithChildrenShortcut);
  const std::vector<Beeldbalk*> lijst(balken);
  QObject::connect(toets, &QShortcut::activated, scherm, [lijst]() {
    for (Beeldbalk* b : lijst) b->knopPassend()->click();
  });
}

}  // namespace zarvo::gui
