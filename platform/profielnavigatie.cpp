#include "platform/profielnavigatie.h"

#include <QApplication>

#include <algorithm>

#include <QComboBox>
#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShortcut>

#include "platform/regionaal.h"
#include "basis/profielstore.h"

namespace zarvo::gui {

ProfielNavigatie::ProfielNavigatie(QWidget* ouder) : QWidget(ouder) {
  setObjectName("profielNavigatie");
  cmdVorrige_ = new QPushButton(QStringLiteral("<< Vorige"), this);
  cmdVorrige_->setObjectName("cmdVorrige");
  cmdVolgende_ = new QPushButton(QStringLiteral("Volgende >>"), this);
  cmdVolgende_->setObjectName("cmdVolgende");
  // Enter on a focused button presses that button rather than the form's OK.
  cmdVorrige_->setAutoDefault(true);
  cmdVolgende_->setAutoDefault(true);

  cboProfiel_ = new QComboBox(this);
  cboProfiel_->setObjectName("cboProfiel");
  cboProfiel_->setEditable(true);
  cboProfiel_->setInsertPolicy(QComboBox::NoInsert);
  cboProfiel_->setMaxVisibleItems(20);
  cboProfiel_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cboProfiel_->setMinimumContentsLength(16);
  cboProfiel_->setToolTip(QStringLiteral("Ga naar profiel (nummer of naam)"));
  // Typing part of a name offers every profile whose entry contains it.
  QCompleter* aanvuller = cboProfiel_->completer();
  aanvuller->setFilterMode(Qt::MatchContains);
  aanvuller->setCaseSensitivity(Qt::CaseInsensitive);
  aanvuller->setCompletionMode(QCompleter::PopupCompletion);
  // Return in the jump field is ours: it jumps, and must never reach the
  // form. The key arrives at the combo box (the field's focus proxy), which
  // would pass it on to the form when it has done with it; choosing a
  // suggestion from the list with Return jumps at once.
  cboProfiel_->installEventFilter(this);
  cboProfiel_->lineEdit()->installEventFilter(this);
  // While the suggestion list is open it gets the keys, and the completer
  // hands Return to the field behind every filter: the first Return after
  // typing only closed the list. Installed after the completer's own filter,
  // this one sees the key first.
  aanvuller->popup()->installEventFilter(this);
  connect(aanvuller, qOverload<const QString&>(&QCompleter::activated), this,
          [this](const QString& tekst) { springNaarTekst(tekst); });

  auto* rij = new QHBoxLayout(this);
  rij->setContentsMargins(0, 0, 0, 0);
  rij->addWidget(cmdVorrige_);
  rij->addWidget(cboProfiel_, 1);
  rij->addWidget(cmdVolgende_);

  connect(cmdVorrige_, &QPushButton::clicked, this, &ProfielNavigatie::vorige);
  connect(cmdVolgende_, &QPushButton::clicked, this, &ProfielNavigatie::volgende);
  connect(cboProfiel_, &QComboBox::activated, this, [this](int index) {
    if (index >= 0) emit springNaar(index + 1);
  });
}

QString ProfielNavigatie::regelTekst(int profiel) const {
  const auto i = static_cast<std::size_t>(profiel - 1);
  QString regel = QString::number(profiel) + QStringLiteral(" \u2013 ") + namen_[i];
  if (!status_[i].isEmpty()) regel += QStringLiteral(" (") + status_[i] + QLatin1Char(')');
  return regel;
}

void ProfielNavigatie::vernieuwLijst(const ProfielStore& store) {
  const int oud = cboProfiel_->currentIndex();
  namen_.clear();
  namen_.reserve(store.profielen.size());
  for (const Profiel& p : store.profielen) namen_.push_back(tekstUitBestand(p.naam));
  status_.assign(namen_.size(), QString());

  QStringList regels;
  regels.reserve(static_cast<qsizetype>(namen_.size()));
  for (int p = 1; p <= static_cast<int>(namen_.size()); ++p) regels.push_back(regelTekst(p));
  const QSignalBlocker stil(cboProfiel_);
  cboProfiel_->clear();
  cboProfiel_->addItems(regels);
  if (!regels.isEmpty()) cboProfiel_->setCurrentIndex(std::clamp(oud, 0, static_cast<int>(regels.size()) - 1));
}

void ProfielNavigatie::zetHuidig(int profiel) {
  if (profiel < 1 || profiel > cboProfiel_->count()) return;
  const QSignalBlocker stil(cboProfiel_);
  cboProfiel_->setCurrentIndex(profiel - 1);
  // setCurrentIndex leaves a half-typed search text alone when the index
  // does not change; the field must show the profile on display.
  cboProfiel_->setEditText(cboProfiel_->itemText(profiel - 1));
}

void ProfielNavigatie::zetStatus(int profiel, const QString& status) {
  if (profiel < 1 || profiel > static_cast<int>(status_.size())) return;
  status_[static_cast<std::size_t>(profiel - 1)] = status;
  const QSignalBlocker stil(cboProfiel_);
  cboProfiel_->setItemText(profiel - 1, regelTekst(profiel));
}

QString ProfielNavigatie::status(int profiel) const {
  if (profiel < 1 || profiel > static_cast<int>(status_.size())) return {};
  return status_[static_cast<std::size_t>(profiel - 1)];
}

void ProfielNavigatie::zetVerborgen(int profiel, bool verborgen) {
  if (auto* lijst = qobject_cast<QListView*>(cboProfiel_->view())) lijst->setRowHidden(profiel - 1, verborgen);
}

void ProfielNavigatie::zetKnoppenActief(bool actief) {
  // Disabling the button that has the focus pushes the focus on to the
  // jump field; give it back when the buttons return, so that stepping on
  // with Space or Enter keeps working.
  if (!actief) {
    QWidget* focus = QApplication::focusWidget();
    knopMetFocus_ = (focus == cmdVorrige_ || focus == cmdVolgende_) ? static_cast<QPushButton*>(focus) : nullptr;
  }
  cmdVorrige_->setEnabled(actief);
  cmdVolgende_->setEnabled(actief);
  if (actief && knopMetFocus_) {
    knopMetFocus_->setFocus(Qt::OtherFocusReason);
    knopMetFocus_ = nullptr;
  }
}

void ProfielNavigatie::installeerSneltoetsen(QWidget* formulier, std::initializer_list<QWidget*> plaatjes) {
  // click() does nothing on a disabled button, so the keys obey the same
  // enabling as the buttons (one profile, a drawing in progress).
  auto* verder = new QShortcut(QKeySequence(Qt::Key_PageDown), formulier);
  verder->setContext(Qt::WidgetWithChildrenShortcut);
  connect(verder, &QShortcut::activated, cmdVolgende_, &QPushButton::click);
  auto* terug = new QShortcut(QKeySequence(Qt::Key_PageUp), formulier);
  terug->setContext(Qt::WidgetWithChildrenShortcut);
  connect(terug, &QShortcut::activated, cmdVorrige_, &QPushButton::click);

  for (QWidget* plaatje : plaatjes) {
    plaatje->setFocusPolicy(Qt::StrongFocus);
    plaatje->installEventFilter(this);
    plaatjes_.push_back(plaatje);
  }
}

int ProfielNavigatie::zoekProfiel(const QString& tekst) const {
  const QString t = tekst.trimmed();
  if (t.isEmpty()) return 0;
  const int aantal = static_cast<int>(namen_.size());
  bool isGetal = false;
  const int nummer = t.toInt(&isGetal);
  if (isGetal && nummer >= 1 && nummer <= aantal) return nummer;
  for (int p = 1; p <= aantal; ++p) {
    if (namen_[static_cast<std::size_t>(p - 1)].compare(t, Qt::CaseInsensitive) == 0) return p;
  }
  // The text of a whole entry ("12 – P012") as the list shows it.
  for (int p = 1; p <= aantal; ++p) {
    if (cboProfiel_->itemText(p - 1).compare(t, Qt::CaseInsensitive) == 0) return p;
  }
  for (int p = 1; p <= aantal; ++p) {
    if (cboProfiel_->itemText(p - 1).contains(t, Qt::CaseInsensitive)) return p;
  }
  return 0;
}

void ProfielNavigatie::springNaarTekst(const QString& tekst) {
  const int p = zoekProfiel(tekst);
  if (p > 0) {
    emit springNaar(p);
  } else if (cboProfiel_->currentIndex() >= 0) {
    // Nothing matches: show the current profile again.
    cboProfiel_->setEditText(cboProfiel_->itemText(cboProfiel_->currentIndex()));
  }
}

bool ProfielNavigatie::eventFilter(QObject* object, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(object, event);
  auto* toets = static_cast<QKeyEvent*>(event);
  const int key = toets->key();

  if (object == cboProfiel_ || object == cboProfiel_->lineEdit()) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    springNaarTekst(cboProfiel_->lineEdit()->text());
    return true;
  }
  if (QAbstractItemView* lijst = cboProfiel_->completer()->popup(); object == lijst) {
    // A suggestion the user moved to is the completer's to choose.
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || lijst->currentIndex().isValid()) return false;
    lijst->hide();
    springNaarTekst(cboProfiel_->lineEdit()->text());
    return true;
  }

  if (std::find(plaatjes_.begin(), plaatjes_.end(), object) != plaatjes_.end() &&
      (toets->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    switch (key) {
      case Qt::Key_Left:
      case Qt::Key_Up:
        cmdVorrige_->click();
        return true;
      case Qt::Key_Right:
      case Qt::Key_Down:
        cmdVolgende_->click();
        return true;
      default:
        break;
    }
  }
  return false;
}

void verbindAltO(QWidget* formulier, QPushButton* ok) {
  auto* sneltoets = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_O), formulier);
  sneltoets->setContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(sneltoets, &QShortcut::activated, ok, &QPushButton::click);
}

}  // namespace zarvo::gui
