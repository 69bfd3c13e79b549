// Quit, closing the window, and the half-second wait across midnight.
#include <QFile>
#include <QTimer>
#include <stdexcept>

#include "window_fixture.hpp"

namespace umbrix::window::testing {
namespace {

using QuitAction = WindowTest;

double SecondsSince(const QElapsedTimer& timer) { return timer.elapsed() / 1000.0; }

TEST(QuitClock, ElapsedTimeCountsAcrossMidnight) {
  EXPECT_DOUBLE_EQ(ElapsedSince(10.0, 10.5), 0.5);
  EXPECT_NEAR(ElapsedSince(86399.8, 0.1), 0.3, 1e-9);
  EXPECT_NEAR(ElapsedSince(86399.8, 86399.9), 0.1, 1e-9);
}

TEST_F(QuitAction, WaitsHalfASecondWithAnEmptyStartCaptionThenEnds) {
  Form1& form = MakeForm();
  form.show();
  QElapsedTimer timer;
  timer.start();
  form.Command2_Click();
  EXPECT_NEAR(SecondsSince(timer), 0.5, 0.3);
  EXPECT_EQ(ends_, 1);
  EXPECT_TRUE(Edit<QPushButton>("Command1")->text().isEmpty());
  EXPECT_EQ(form.windowTitle(), "Umbrix");
  EXPECT_FALSE(form.isVisible());
}

TEST_F(QuitAction, AWaitStartedJustBeforeMidnightLastsHalfASecond) {
  int reads = 0;
  double now = 86399.8;
  Clock clock = [&] {
    if (++reads > 1000) throw std::runtime_error("the wait does not end");
    const double reading = now;
    now += 0.02;
    if (now >= kSecondsPerDay) now -= kSecondsPerDay;
    return reading;
  };
  Form1& form = MakeForm({0, 0}, clock);
  form.Command2_Click();
  // The start reading, then one reading per 0.02 s until half a second has passed.
  EXPECT_GE(reads, 26);
  EXPECT_LE(reads, 28);
  EXPECT_EQ(ends_, 1);
}

TEST_F(QuitAction, StopsALongRunAndKeepsThePreviousDocument) {
  {
    QFile old(InFolder("AUSGABE.TEX"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alter Inhalt");
  }
  Form1& form = MakeForm();
  QString input;
  for (int i = 0; i < 3000; ++i) input += "(x1==x2+x3)=>(x4<=x5vx6)\n";
  Edit<QPlainTextEdit>("Text1")->setPlainText(input);
  form.Command1_Click();
  ASSERT_TRUE(
      WaitUntil([&] { return Edit<QLabel>("StatusLine")->text().startsWith("Formel ") || !form.Running(); }));
  ASSERT_TRUE(form.Running());
  EXPECT_TRUE(Edit<QLabel>("StatusLine")->text().contains(" von 3000, "))
      << "the status line shows the progress";
  EXPECT_TRUE(Edit<QLabel>("StatusLine")->text().contains(" Zeilen (")) << "and the size written";
  QElapsedTimer timer;
  timer.start();
  form.Command2_Click();
  EXPECT_LT(SecondsSince(timer), 1.5);
  EXPECT_EQ(ends_, 1);
  EXPECT_TRUE(WaitUntil([&] { return !form.Running(); }, 1000));
  // The unfinished document is gone, the previous one stays byte for byte.
  EXPECT_EQ(ReadFile(InFolder("AUSGABE.TEX")), "alter Inhalt");
  EXPECT_EQ(QDir(InFolder("")).entryList(QDir::Files | QDir::Hidden), QStringList{"AUSGABE.TEX"});
  EXPECT_TRUE(dialogs_->errors.isEmpty());
}

TEST_F(QuitAction, ClosingTheWindowRunsQuit) {
  Form1& form = MakeForm();
  form.show();
  QElapsedTimer timer;
  timer.start();
  form.close();
  EXPECT_NEAR(SecondsSince(timer), 0.5, 0.3);
  EXPECT_EQ(ends_, 1);
  EXPECT_TRUE(Edit<QPushButton>("Command1")->text().isEmpty());
}

TEST_F(QuitAction, ClosingWhileQuitWaitsDoesNotStartASecondWait) {
  Form1& form = MakeForm();
  form.show();
  QTimer::singleShot(150, &form, [&form] { form.close(); });
  QElapsedTimer timer;
  timer.start();
  form.Command2_Click();
  EXPECT_LT(SecondsSince(timer), 0.9);
  EXPECT_EQ(ends_, 1);
}

}  // namespace
}  // namespace umbrix::window::testing
