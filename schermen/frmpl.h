// The ditch screen: on load it builds the ditch into every profile, then the
// user steps through the constructed cross-sections, reads coordinates off
// the crosshair, moves the water-level guide lines and may open the legend.
#pragma once

#include <QPointF>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "ditch/slootprofiel.h"
#include "basis/profielgeometrie.h"
#include "taak/taak.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QUndoStack;

namespace zarvo::gui {

class LineControl;
class PictureBox;
class ProfielNavigatie;
class TrajectOverzicht;

class FrmPL : public QWidget {
  Q_OBJECT
 public:
  explicit FrmPL(Taak& taak, QWidget* ouder = nullptr);

  // The load sequence: settings to their start values, caption and profile
  // count, the ditch built into every profile of the job (messages through
  // the message service), profile 1 drawn. Call once after the review, then
  // show the form.
  void laad();

  // Draws profile 'profielNummer' (1-based) of the job as a cross-section
  // with its coded points, its selection markers and the guide lines.
  // Reads the job, never changes it.
  void tekenProfielen(std::int32_t profielNummer);
  // Places the two water-level lines across a drawing 'breedteVenster' wide.
  void tekenPeilen(double breedteVenster);

  // Read by tests and by the point selection that may come later.
  const SlootVariabelen& slootVariabelen() const { return taak_.slootVariabelen(); }
  // Saves the built job as a GeoPackage declaring 'epsg', or without it as
  // a DXF drawing, at 'pad' (what the two export menu entries do once the
  // file is chosen); nullopt when done, else the message shown.
  std::optional<Melding> exporteerNaar(const QString& pad, std::optional<int> epsg);
  const std::vector<SlootStatus>& slootStatussen() const { return slootStatussen_; }
  int knooppuntNummer() const { return knooppuntNummer_; }
  int selectieTeller() const { return selectieTeller_; }
  double muispositieX() const { return muispositieX_; }
  double muispositieY() const { return muispositieY_; }
  double schaal() const { return schaal_; }
  std::int32_t huidigProfiel() const { return huidigProfiel_; }
  // The cross-section of the profile on screen.
  const ProfielGeometrie& geometrie() const { return geometrie_; }

  // Choosing the ditch edges by hand, on a profile without a built ditch:
  // the dike-side edge waiting for its polder-side partner, as its number in
  // the profile as reviewed (0 = none yet), and the point the pointer is
  // nearest to (1-based in the profile on screen, 0 = none).
  std::int32_t gekozenDijk() const { return gekozenDijk_; }
  std::int32_t puntOnderMuis() const { return puntOnderMuis_; }
  // The undo stack choices go on; Ctrl+Z and Ctrl+Shift+Z here undo and
  // redo only choices of ditch edges (commands with this id).
  static constexpr int slootkeuzeOpdrachtId = 0x534b;
  void zetOngedaanStapel(QUndoStack* stapel);
  // After a choice was made, undone or redone: shows profile 'profiel' as
  // it is built now, with the outcomes of all profiles up to date.
  void toonNaSlootkeuze(std::int32_t profiel);

 signals:
  // OK: on to saving.
  void klaar();
  // "<< Terug": back to the review, the profiles as before the build.
  void terug();
  void legendaGevraagd();
  void gestopt();
  // The user chose the edges of profile 'profiel' (nullopt: let the codes
  // decide; a choice without points: no ditch).
  void slootkeuzeGevraagd(std::int32_t profiel, std::optional<zarvo::Slootkeuze> keuze);

 protected:
  // Closing the window is stopping: the same question as Stop, so a stray
  // click on the title bar cannot throw the constructed profiles away.
  void closeEvent(QCloseEvent* gebeurtenis) override;

 private:
  // True when the user confirmed; gestopt() has then been emitted.
  bool bevestigStop();
  void naarProfiel(std::int32_t profiel);
  void volgende();
  void vorige();
  void muisBeweegt(double x, double y);
  void geklikt(double x, double y);
  // Whether the profile on screen takes clicks for its ditch edges.
  bool kiesbaar() const;
  // The surveyed point nearest to (x, y) on screen, 1-based in the profile
  // on screen; 0 when none can be chosen.
  std::int32_t dichtstbijzijndPunt(double x, double y) const;
  // Points built in front of the surveyed ones (the foreland), which the
  // numbering of a choice does not count.
  std::int32_t voorlandPunten() const;
  void zetMarkering(std::array<LineControl*, 2>& kruis, std::int32_t punt);
  void toonKeuzeStand();
  void slootkantenOpnieuw();
  void updatePeilen();
  // The row under the picture: fit, grid, picture, "Zoom op sloot", report.
  QWidget* maakBeeldbalk();
  void zoomOpSloot();
  std::optional<std::pair<QPointF, QPointF>> slootKaderVan(std::int32_t profiel) const;
  void vraagRapport();
  // "Exporteren naar kaart (GeoPackage)…" and "Exporteren naar DXF…".
  void exporteerKaart();
  void exporteerDxf();
  // Asks where, then exporteerNaar() there.
  void exporteer(const QString& titel, const QString& extensie, const QString& filter, std::optional<int> epsg);
  void toonPuntCodes();
  void ok();
  void stop();
  void vulStatusLijst();
  bool telt(std::int32_t profiel) const;
  std::int32_t stap(int richting) const;
  void filterVeranderd();
  QGroupBox* maakRecordVak();
  void toonRecord(const SlootRecord& record);
  QGroupBox* maakMatenVak();
  void toonMaten(const Profiel& profiel, const Bouwfeiten& gebouwd);
  const Bouwfeiten& bouwfeiten(std::int32_t profiel) const;

  Taak& taak_;
  // The spatial reference the last map export declared.
  QString crs_ = QStringLiteral("EPSG:28992");
  std::int32_t huidigProfiel_ = 0;
  ProfielGeometrie geometrie_;
  std::vector<SlootStatus> slootStatussen_;
  int knooppuntNummer_ = 2;
  int selectieTeller_ = 0;
  std::int32_t gekozenDijk_ = 0;
  std::int32_t puntOnderMuis_ = 0;
  QUndoStack* ongedaan_ = nullptr;
  std::array<LineControl*, 2> markeringMuis_{};
  std::array<LineControl*, 2> markeringDijk_{};
  QPushButton* cmdSlootkantenOpnieuw_ = nullptr;
  double muispositieX_ = 0;
  double muispositieY_ = 0;
  double schaal_ = 0;

  PictureBox* picDwarsprofiel_ = nullptr;
  LineControl* kruisdraadHorizontaal_ = nullptr;
  LineControl* kruisdraadVerticaal_ = nullptr;
  LineControl* lineBoezempeil_ = nullptr;
  LineControl* linePolderpeil_ = nullptr;
  QLineEdit* txtLiggingBoezempeil_ = nullptr;
  QLineEdit* txtLiggingPolderpeil_ = nullptr;
  QLineEdit* txtMaxDiepteSloot_ = nullptr;
  QLineEdit* txtDieptefactor_ = nullptr;
  QLabel* lblAantalProfielen_ = nullptr;
  QLabel* lblActiefProfiel_ = nullptr;
  QLabel* lblSelect_ = nullptr;
  std::array<QLabel*, 6> recordLabels_{};
  std::array<QLabel*, 8> matenLabels_{};
  QCheckBox* chkMaaiveld_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdStop_ = nullptr;
  QPushButton* cdmPuntCodes_ = nullptr;
  QPushButton* cmdUpdate_ = nullptr;
  ProfielNavigatie* navigatie_ = nullptr;
  TrajectOverzicht* overzicht_ = nullptr;
  QComboBox* cboFilter_ = nullptr;
  QPushButton* cmdZoomOpSloot_ = nullptr;
};

}  // namespace zarvo::gui
