// "Herleitung prüfen" in the window: the button opens the check, which shows the verdict
// beside every step.
#include <QPlainTextEdit>
#include <QPushButton>

#include "window/check_dialog.hpp"
#include "window_fixture.hpp"

namespace umbrix::window::testing {
namespace {

class CheckWindow : public WindowTest {};

TEST_F(CheckWindow, ShowsTheVerdictBesideEveryStep) {
  MakeForm();
  Edit<QPushButton>("HerleitungPruefenKnopf")->click();
  auto* dialog = form_->findChild<CheckDialog*>("HerleitungPruefen");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  auto* input = dialog->findChild<QPlainTextEdit*>("EigeneHerleitung");
  auto* verdicts = dialog->findChild<QPlainTextEdit*>("Urteile");
  ASSERT_NE(input, nullptr);
  ASSERT_NE(verdicts, nullptr);
  const std::pair<QString, std::vector<QString>> cases[] = {
      {QString::fromUtf8("p→q\n¬p∨q\n¬(p∧¬q)"),
       {QString::fromUtf8("¬p∨q   ✓ richtig: Umformung der Implikation"), "Alle 2 Schritte sind richtig."}},
      {QString::fromUtf8("¬(a∧b)\n¬a∧¬b"),
       {QString::fromUtf8("¬a∧¬b   ✗ falsch"), "Gegenbeispiel: a = falsch, b = wahr", "De Morgan"}},
      {QString::fromUtf8("p+\np"), {"kann nicht gelesen werden"}},  // a line that cannot be read is named
  };
  for (const auto& [text, fragments] : cases) {
    SCOPED_TRACE(text.toStdString());
    input->setPlainText(text);
    dialog->findChild<QPushButton*>("Pruefen")->click();
    for (const QString& fragment : fragments)
      EXPECT_TRUE(verdicts->toPlainText().contains(fragment)) << verdicts->toPlainText().toStdString();
  }
}

}  // namespace
}  // namespace umbrix::window::testing
