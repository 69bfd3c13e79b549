#include "window/check_dialog.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "derivation_check/check_render.hpp"
#include "derivation_check/derivation.hpp"

namespace umbrix::window {

namespace {

constexpr const char* kExample = "p → q\n¬p ∨ q\n¬(p ∧ ¬q)";
constexpr const char* kInstructions =
    "Erste Zeile: die Aufgabe, jede weitere Zeile: ein Schritt; eine Leerzeile trennt zwei Herleitungen. "
    "Konstanten: ⊤ und ⊥, in Zeilen mit Buchstaben auch 1, 0, w und f.";

}  // namespace

CheckDialog::CheckDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8("Herleitung prüfen"));
  setObjectName("HerleitungPruefen");
  input_ = new QPlainTextEdit(QString::fromUtf8(kExample), this);
  input_->setObjectName("EigeneHerleitung");
  input_->setTabChangesFocus(true);
  auto* instructions = new QLabel(QString::fromUtf8(kInstructions), this);
  instructions->setWordWrap(true);
  goal_ = new QComboBox(this);
  goal_->setObjectName("Ziel");
  goal_->addItem(QString::fromUtf8("Ziel aus der letzten Zeile erkennen"), -1);
  for (std::size_t k = 0; k < std::size(kZielTabelle); ++k)
    goal_->addItem(QString::fromUtf8("Ziel: ") + QString::fromUtf8(kZielTabelle[k].wort.data(),
                                                                     static_cast<qsizetype>(kZielTabelle[k].wort.size())),
                   static_cast<int>(k));
  hint_ = new QCheckBox(QString::fromUtf8("den nächsten Schritt zeigen"), this);
  hint_->setObjectName("Hinweis");
  checkButton_ = new QPushButton(QString::fromUtf8("&Prüfen"), this);
  checkButton_->setObjectName("Pruefen");
  verdicts_ = new QPlainTextEdit(this);
  verdicts_->setObjectName("Urteile");
  verdicts_->setReadOnly(true);
  verdicts_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  verdicts_->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* choices = new QHBoxLayout;
  choices->addWidget(goal_);
  choices->addWidget(hint_);
  choices->addStretch();
  choices->addWidget(checkButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(input_, 2);
  layout->addWidget(instructions);
  layout->addLayout(choices);
  layout->addWidget(verdicts_, 3);
  resize(760, 620);
  connect(checkButton_, &QPushButton::clicked, this, [this] { Check(); });
}

void CheckDialog::Check() {
  Pruefoptionen options;
  const int goal = goal_->currentData().toInt();
  if (goal >= 0) options.ziel = kZielTabelle[static_cast<std::size_t>(goal)].ziel;
  options.hinweis = hint_->isChecked();
  const std::vector<GepruefteHerleitung> derivations = PruefeHerleitungen(input_->toPlainText().toStdString(), options);
  const int columns = std::max(40, verdicts_->viewport()->width() / QFontMetrics(verdicts_->font()).horizontalAdvance('X') - 2);
  verdicts_->setPlainText(QString::fromUtf8(PruefungAlsText(derivations, static_cast<std::size_t>(columns))));
}

}  // namespace umbrix::window
