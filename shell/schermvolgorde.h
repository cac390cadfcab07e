// The order of the screens: splash, input selection, the loading notice,
// review, ditch screen (with its legend), save. This is the one place that
// knows that order. It creates each screen, hands it the job, and goes on
// when the screen signals that it is done, stopped or failed; the screens
// themselves never name one another.
//
// Every screen exists at most once. Closing one hides it and destroys it
// once control is back in the event loop; the next request makes a new one.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <QWidget>
#include <map>
#include <typeindex>

#include "basis/meldingen.h"
#include "taak/taak.h"

namespace zarvo::gui {

class FrmSplashScreen;
class FrmInput;
class FrmLaden;
class FrmGraphicView;
class FrmPL;
class FrmPuntCodes;
class FrmOpslaan;

class Schermvolgorde : public QObject {
  Q_OBJECT
 public:
  explicit Schermvolgorde(Taak& taak, QObject* ouder = nullptr);
  ~Schermvolgorde() override;

  Taak& taak() { return taak_; }

  // Files given on the command line: they are chosen beforehand and the
  // input screen shows them; the user still confirms there. Returns a
  // warning per file that does not exist (such a file is not chosen).
  QStringList kiesVooraf(const QString& profielbestand, const QString& slootbestand);
  // The same for the files of a command line: the first is the profile
  // file, the second the ditch file; more are left out, and the input
  // screen says so.
  QStringList kiesVooraf(const QStringList& bestanden);

  // Shows the first screen.
  void start();

  // Reads the chosen files with the loading notice and its progress bar.
  // On success the review screen shows profile 1 and the input screen
  // closes; on an error the message is shown, nothing is loaded and the
  // input screen stays with its choice, so that the user can pick another
  // file. Returns whether it succeeded.
  bool leesIn();

  // The screen of type F: the open one, or a new one wired into the order.
  template <class F>
  F& scherm();
  // The open screen of type F, or nullptr.
  template <class F>
  F* open() const {
    const auto gevonden = schermen_.find(std::type_index(typeid(F)));
    return gevonden == schermen_.end() ? nullptr : static_cast<F*>(gevonden->second.data());
  }
  // Closes the screen of type F, if open.
  template <class F>
  void sluit() {
    sluit(std::type_index(typeid(F)));
  }
  // Destroys every screen at once, and the undo history with them.
  void sluitAlles();

 private:
  void sluit(std::type_index type);
  void voegToe(std::type_index type, QWidget* scherm);
  void verbind(FrmSplashScreen& scherm);
  void verbind(FrmInput& scherm);
  void verbind(FrmLaden& scherm);
  void verbind(FrmGraphicView& scherm);
  void verbind(FrmPL& scherm);
  void verbind(FrmPuntCodes& scherm);
  void verbind(FrmOpslaan& scherm);

  void naarInvoer();
  void naarSloot();
  void terugNaarReview();
  // Shows 'profiel' on the open review screen after the profiles changed.
  void toonInReview(std::int32_t profiel);
  void naarOpslaan();
  void terugNaarSloot();
  void toonLegenda();
  void stop();
  void mislukt(const Melding& melding);

  Taak& taak_;
  std::map<std::type_index, QPointer<QWidget>> schermen_;
  QStringList nietGevonden_;  // files named on the command line that are not there
  // Deleting profiles can be undone for as long as the job lives, also
  // after going back from the ditch screen.
  QUndoStack ongedaan_;

  friend class VerwijderOpdracht;
  friend class SlootkeuzeOpdracht;
};

}  // namespace zarvo::gui
