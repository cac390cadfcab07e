// Stepping through the profiles of the store, shared by the review and the
// ditch screen: "<< Vorige" / "Volgende >>" (objectNames cmdVorrige and
// cmdVolgende, the names the forms always had), a searchable jump list with
// one entry "nummer – naam" per profile, and the keyboard keys that step.
//
// The widget only asks; the form decides. It never touches huidigProfiel:
// the form connects vorige(), volgende() and springNaar() to its own
// handlers, and reports the profile it shows with zetHuidig().
#pragma once

#include <QString>
#include <QWidget>
#include <initializer_list>
#include <vector>

class QComboBox;
class QPushButton;

namespace zarvo {
class ProfielStore;
}

namespace zarvo::gui {

class ProfielNavigatie : public QWidget {
  Q_OBJECT
 public:
  explicit ProfielNavigatie(QWidget* ouder = nullptr);

  QPushButton* knopVorige() const { return cmdVorrige_; }
  QPushButton* knopVolgende() const { return cmdVolgende_; }
  QComboBox* sprongLijst() const { return cboProfiel_; }  // objectName cboProfiel

  // Rebuilds the jump list from the store, one entry per profile; all
  // status texts are cleared (profile numbers shift after a delete).
  void vernieuwLijst(const ProfielStore& store);
  // Selects the entry of the shown profile (1-based) without emitting
  // springNaar().
  void zetHuidig(int profiel);
  // A short per-profile text shown behind the entry, e.g. "geen sloot";
  // an empty text removes it.
  void zetStatus(int profiel, const QString& status);
  QString status(int profiel) const;
  // Hides the entry of 'profiel' from the list (a filter of the form's).
  void zetVerborgen(int profiel, bool verborgen);

  // Enables or disables both step buttons; the keys follow the buttons.
  void zetKnoppenActief(bool actief);

  // Page Down / Page Up anywhere on 'formulier' step forward / back; the
  // arrow keys do the same while one of 'plaatjes' has the focus (they get
  // the focus when clicked). Disabled buttons make the keys do nothing.
  void installeerSneltoetsen(QWidget* formulier, std::initializer_list<QWidget*> plaatjes = {});

  // The profile a typed text means: a number in range, else the first
  // profile whose name equals the text (case-insensitive), else the first
  // whose entry contains it. 0 when nothing matches.
  int zoekProfiel(const QString& tekst) const;

 signals:
  void vorige();
  void volgende();
  void springNaar(int profiel);

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  QString regelTekst(int profiel) const;
  // Jumps to the profile 'tekst' names, or shows the current one again.
  void springNaarTekst(const QString& tekst);

  QPushButton* cmdVorrige_ = nullptr;
  QPushButton* cmdVolgende_ = nullptr;
  QComboBox* cboProfiel_ = nullptr;
  std::vector<QString> namen_;   // index 0 = profile 1
  std::vector<QString> status_;  // parallel to namen_
  std::vector<QWidget*> plaatjes_;
  QPushButton* knopMetFocus_ = nullptr;  // step button that had the focus while disabled
};

// Alt+O anywhere on 'formulier' presses 'ok': with the focus on OK, Enter
// does too, and nowhere else does Enter go on to the next screen.
void verbindAltO(QWidget* formulier, QPushButton* ok);

}  // namespace zarvo::gui
