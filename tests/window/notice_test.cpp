// The start-up notice, the window's initial state and its layout.
#include <QAbstractButton>
#include <QCheckBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <array>

#include "render/texts.hpp"
#include "window/window_texts.hpp"
#include "window_fixture.hpp"

namespace umbrix::window::testing {
namespace {

using StartUpNotice = WindowTest;

// The widget that Tab moves to from widget, skipping its own parts and what takes no focus.
QWidget* NextTabStop(QWidget* widget) {
  QWidget* next = widget->nextInFocusChain();
  while (next != widget && (!(next->focusPolicy() & Qt::TabFocus) || widget->isAncestorOf(next)))
    next = next->nextInFocusChain();
  return next;
}
using WindowLayout = WindowTest;

TEST_F(StartUpNotice, RightAnswerOpensTheWindowWithTheSamples) {
  for (int required = 0; required < 3; ++required) {
    SCOPED_TRACE(required);
    const int defaultButton = (required + 1) % 3;
    dialogs_->answer = required;
    Form1& form = MakeForm({required, defaultButton});
    EXPECT_TRUE(form.Form_Load());
    EXPECT_EQ(dialogs_->noticeDefault, defaultButton);
    EXPECT_TRUE(
        dialogs_->noticeText.contains("[" + QString::fromUtf8(texts::kNoticeButtons[required]) + "]"));
    EXPECT_TRUE(dialogs_->noticeText.contains("\n\nDieses Programm habe ich geschrieben"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ends_, 0);
    EXPECT_EQ(form.windowTitle(), "Umbrix");
    EXPECT_EQ(Edit<QPlainTextEdit>("Text1")->toPlainText(),
              "-x2+x1\nx1v(x2+x3)\nx1<=x2vx3\nx1==x2+x3\nx1=>x2\n");
    EXPECT_EQ(Edit<QLineEdit>("Text2")->text(), "AUSGABE");
    EXPECT_TRUE(Edit<QRadioButton>("Option1_0")->isChecked());
    EXPECT_TRUE(form.OptionSelected(OptionEntry::kManySteps));
    EXPECT_TRUE(Edit<QPushButton>("Command1")->isEnabled());
  }
}

TEST_F(StartUpNotice, EveryWrongAnswerEndsTheProgramWithoutAFile) {
  for (int required = 0; required < 3; ++required) {
    for (int wrong : {(required + 1) % 3, (required + 2) % 3}) {
      SCOPED_TRACE(QString("required %1, pressed %2").arg(required).arg(wrong).toStdString());
      ends_ = 0;
      dialogs_->answer = wrong;
      Form1& form = MakeForm({required, 0});
      EXPECT_FALSE(form.Form_Load());
      EXPECT_EQ(ends_, 1);
      EXPECT_TRUE(Edit<QPushButton>("Command1")->text().isEmpty());
      EXPECT_FALSE(form.isVisible());
      EXPECT_TRUE(FolderEntries().isEmpty());
    }
  }
}

TEST(NoticeBox, HasTheStopIconAndTheThreeGermanButtonsInOrder) {
  for (int defaultButton = 0; defaultButton < 3; ++defaultButton) {
    SCOPED_TRACE(defaultButton);
    auto box = MakeNoticeBox(nullptr, NoticeText(0), defaultButton);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->show();
    QCoreApplication::processEvents();
    int previousLeft = -1;
    for (int i = 0; i < 3; ++i) {
      QAbstractButton* button = NoticeButton(*box, i);
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->text(), QString::fromUtf8(texts::kNoticeButtons[i]));
      EXPECT_GT(button->mapTo(box.get(), QPoint(0, 0)).x(), previousLeft) << "shown left to right";
      previousLeft = button->mapTo(box.get(), QPoint(0, 0)).x();
    }
    EXPECT_EQ(box->defaultButton(), NoticeButton(*box, defaultButton));
    EXPECT_EQ(PressedNoticeButton(*box), 0) << "closing the box counts as abort";
    NoticeButton(*box, 2)->click();
    EXPECT_EQ(PressedNoticeButton(*box), 2);
  }
}

TEST(NoticeBox, ClockSeededDrawIsUniformOverTheThreeButtons) {
  ButtonDraw draw = ClockSeededButtonDraw();
  std::array<int, 3> counts{};
  for (int i = 0; i < 3000; ++i) {
    const int button = draw();
    ASSERT_GE(button, 0);
    ASSERT_LE(button, 2);
    ++counts[static_cast<std::size_t>(button)];
  }
  for (int count : counts) EXPECT_NEAR(count, 1000, 150);
}

TEST(ConnectiveLegend, ShowsEveryConnectiveWithItsNameOnARow) {
  const LegendRows legend = ConnectiveLegendRows(texts::kConnectiveLegend);
  EXPECT_EQ(legend.heading, "----Zeichen----");
  const std::vector<std::pair<QString, QString>> expected = {
      {"-", "nicht"},      {"+", "und"},         {"v", "oder"},
      {"<=", "folgt aus"}, {"=>", "impliziert"}, {"==", QString::fromUtf8("äquivalent")}};
  EXPECT_EQ(legend.rows, expected);
}

TEST_F(WindowLayout, NoTextIsCutOff) {
  Form1& form = MakeForm();
  for (QLabel* label : form.findChildren<QLabel*>()) {
    if (label->objectName() == "StatusLine") continue;
    SCOPED_TRACE(label->objectName().toStdString());
    const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    EXPECT_GE(label->height(), needed);
    if (!label->wordWrap()) {
      EXPECT_GE(label->width(), label->sizeHint().width());
    }
  }
  for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_GE(button->width(), button->sizeHint().width());
    EXPECT_GE(button->height(), button->sizeHint().height());
  }
}

TEST_F(WindowLayout, KeepsTheReferenceArrangement) {
  MakeForm();
  const QRect text1 = Edit<QPlainTextEdit>("Text1")->geometry();
  const QRect legend = Edit<QLabel>("Label4")->geometry();
  const QRect text2 = Edit<QLineEdit>("Text2")->geometry();
  const QRect start = Edit<QPushButton>("Command1")->geometry();
  const QRect quit = Edit<QPushButton>("Command2")->geometry();
  EXPECT_GT(legend.left(), text1.right()) << "the legend is a column right of the formulas";
  EXPECT_GT(text2.top(), text1.bottom());
  EXPECT_GT(start.top(), text2.bottom());
  EXPECT_EQ(start.top(), quit.top());
  EXPECT_EQ(quit.right(), text2.right());
}

TEST_F(WindowLayout, ExtraRoomGoesToTheDerivationViewAndAShortWindowShrinksTheInputFirst) {
  Form1& form = MakeForm();
  auto* view = form.findChild<QPlainTextEdit*>("Herleitung");
  ASSERT_NE(view, nullptr);
  form.show();  // a hidden window takes its new size only when shown
  form.resize(form.minimumWidth() + 200, 2000);
  const QRect tall = view->geometry();
  const int formulasTall = Edit<QPlainTextEdit>("Text1")->height();
  EXPECT_EQ(tall.bottom(), 2000 - 1) << "the view reaches the window's bottom";
  EXPECT_EQ(tall.width(), form.width());
  EXPECT_EQ(Edit<QPushButton>("Command2")->geometry().right(), Edit<QLineEdit>("Text2")->geometry().right());
  EXPECT_EQ(Edit<QPushButton>("PdfButton")->geometry().right(), form.width() - 1);

  form.resize(form.minimumSize());
  const QRect text1 = Edit<QPlainTextEdit>("Text1")->geometry();
  EXPECT_LT(text1.height(), formulasTall);
  EXPECT_GE(view->height(), 150);
  EXPECT_LT(text1.bottom(), Edit<QLabel>("Label2")->geometry().top()) << "nothing overlaps";
  EXPECT_LT(Edit<QLabel>("StatusLine")->geometry().bottom(), view->geometry().top());
  EXPECT_EQ(view->geometry().bottom(), form.height() - 1);
}

// A laptop's 1366x768 screen leaves about 728 px under the title bar: with the help folded,
// the view has 500 px there; shown again, the help takes its place and nothing overlaps.
TEST_F(WindowLayout, FoldingTheHelpGivesTheViewItsRoom) {
  Form1& form = MakeForm();
  form.show();
  auto* toggle = Edit<QLabel>("HilfeUmschalten");
  auto* help = Edit<QLabel>("Label2");
  auto* view = form.findChild<QPlainTextEdit*>("Herleitung");
  form.resize(form.width(), 728);
  if (help->isVisible()) emit toggle->linkActivated("#");
  ASSERT_FALSE(help->isVisible());
  EXPECT_FALSE(Edit<QLabel>("NotationLine")->isVisible());
  EXPECT_TRUE(toggle->text().contains("zeigen"));
  EXPECT_GE(view->height(), 500);
  EXPECT_LT(Edit<QPlainTextEdit>("Text1")->geometry().bottom(), Edit<QLabel>("Label3")->geometry().top());
  const int foldedView = view->height();

  emit toggle->linkActivated("#");
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(toggle->text().contains("ausblenden"));
  EXPECT_LT(Edit<QPlainTextEdit>("Text1")->geometry().bottom(), help->geometry().top());
  EXPECT_LT(Edit<QLabel>("NotationLine")->geometry().bottom(), Edit<QLabel>("Label3")->geometry().top());
  EXPECT_LT(view->height(), foldedView);
  EXPECT_EQ(view->geometry().bottom(), form.height() - 1);
}

TEST_F(WindowLayout, StartsNoTallerThanTheScreen) {
  Form1& form = MakeForm();
  const int available = form.screen()->availableGeometry().height();
  EXPECT_TRUE(form.height() <= available || form.height() == form.minimumHeight()) << form.height();
}

TEST_F(WindowLayout, RemembersLevelCheckBoxesAndOutputName) {
  const QString settings = InFolder("umbrix-gui.ini");
  MakeForm({0, 0}, &SecondsSinceMidnight, settings);
  Edit<QRadioButton>("Option1_2")->setChecked(true);
  Edit<QCheckBox>("GesetzeAngeben")->setChecked(true);
  Edit<QCheckBox>("Ergebnis")->setChecked(true);
  Edit<QLineEdit>("Text2")->setText("UEBUNG");
  const bool helpShown = Edit<QLabel>("Label2")->isVisibleTo(form_.get());
  emit Edit<QLabel>("HilfeUmschalten")->linkActivated("#");
  form_->Command2_Click();
  Form1& again = MakeForm({0, 0}, &SecondsSinceMidnight, settings);
  EXPECT_TRUE(Edit<QRadioButton>("Option1_2")->isChecked());
  EXPECT_TRUE(again.OptionSelected(OptionEntry::kFewSteps));
  EXPECT_TRUE(Edit<QCheckBox>("GesetzeAngeben")->isChecked());
  EXPECT_TRUE(Edit<QCheckBox>("Ergebnis")->isChecked());
  EXPECT_EQ(Edit<QLineEdit>("Text2")->text(), "UEBUNG");
  EXPECT_EQ(Edit<QLabel>("Label2")->isVisibleTo(&again), !helpShown) << "the help as the user left it";
  MakeForm();  // without a settings file the window starts as it always did
  EXPECT_TRUE(Edit<QRadioButton>("Option1_0")->isChecked());
  EXPECT_FALSE(Edit<QCheckBox>("Ergebnis")->isChecked());
}

TEST_F(WindowLayout, TabOrderAndAccelerators) {
  Form1& form = MakeForm();
  const char* order[] = {"Text1", "Text2", "Command1", "Command2", "Option1_0"};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i)
    EXPECT_EQ(NextTabStop(form.findChild<QWidget*>(order[i])), form.findChild<QWidget*>(order[i + 1]))
        << order[i];
  EXPECT_TRUE(Edit<QPlainTextEdit>("Text1")->tabChangesFocus());
  EXPECT_EQ(Edit<QPushButton>("Command1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
  EXPECT_EQ(Edit<QPushButton>("Command2")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_B));
}

}  // namespace
}  // namespace umbrix::window::testing
