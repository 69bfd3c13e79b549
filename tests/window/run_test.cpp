// Start: the document, the texts written back, the caption, and failed runs.
#include <QCheckBox>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <chrono>

#include "render/texts.hpp"
#include "run/field_platform.hpp"
#include "run/run_driver.hpp"
#include "typesetting/typesetting.hpp"
#include "window_fixture.hpp"

namespace umbrix::window::testing {
namespace {

using StartAction = WindowTest;

const QString kSamples = QString::fromUtf8(texts::kSampleFormulas).remove('\r');

// Enough formulas that a run lasts while the test looks at the window.
QString LongInput(int lines) {
  QString text;
  for (int i = 0; i < lines; ++i) text += "(x1==x2+x3)=>(x4<=x5vx6)\n";
  return text;
}

// The document that the command line's platform writes for the same input.
std::string CommandLineDocument(const QString& text1, const QString& name, OptionEntry option,
                                bool gesetze = false) {
  FieldPlatform platform(QString(text1).replace("\n", "\r\n").toStdString(), name.toStdString(), option,
                         gesetze);
  RunDriver driver(platform);
  return ReadFile(QString::fromStdString(driver.Command1_Click()));
}

TEST_F(StartAction, WritesTheSameBytesAsTheCommandLineInEveryOption) {
  Form1& form = MakeForm();
  for (int run = 0; run < 6; ++run) {
    const OptionInfo& info = kOptionTable[run % 3];
    const int option = EntryNumber(info.entry);
    const bool gesetze = run >= 3;  // the laws named in the second round
    SCOPED_TRACE(run);
    Edit<QRadioButton>(QString("Option1_%1").arg(option).toUtf8().constData())->click();
    ASSERT_TRUE(form.OptionSelected(info.entry));
    Edit<QCheckBox>("GesetzeAngeben")->setChecked(gesetze);
    RunWindow(kSamples, InFolder(QString("gui%1").arg(run)));
    const std::string written = ReadFile(InFolder(QString("GUI%1.TEX").arg(run)));
    EXPECT_EQ(written,
              CommandLineDocument(kSamples, InFolder(QString("cli%1").arg(run)), info.entry, gesetze));
    EXPECT_EQ(written.find("\\gesetz{") != std::string::npos, gesetze);
    EXPECT_EQ(Edit<QPlainTextEdit>("Herleitung")->toPlainText().contains("[Umformung der Implikation]"),
              gesetze);
    EXPECT_TRUE(written.ends_with("\\end{document}\r\n"));
    EXPECT_TRUE(dialogs_->errors.isEmpty());
  }
}

TEST_F(StartAction, ShowsTheNormalisedTextsAndTheFullPathAfterwards) {
  MakeForm();
  RunWindow("x1 v x2\n\n\nx3\n", "out");
  EXPECT_EQ(Edit<QPlainTextEdit>("Text1")->toPlainText(), "X1vX2\n\nX3");
  EXPECT_EQ(Edit<QLineEdit>("Text2")->text(), "OUT.TEX");
  EXPECT_TRUE(Edit<QLabel>("StatusLine")->text().contains(InFolder("OUT.TEX")));
  EXPECT_TRUE(Edit<QPushButton>("Command1")->isEnabled());
}

// The derivation view after Start: the readable text of the run, from its beginning, with
// both normal forms of every formula marked; the PDF button becomes usable.
TEST_F(StartAction, ShowsTheDerivationFromTheTop) {
  MakeForm();
  auto* view = Edit<QPlainTextEdit>("Herleitung");
  EXPECT_FALSE(Edit<QPushButton>("PdfButton")->isEnabled());
  RunWindow(kSamples, "out");
  const QString shown = view->toPlainText();
  EXPECT_TRUE(shown.startsWith("1. Formel\n¬X₂∧X₁\n")) << shown.left(200).toStdString();
  EXPECT_TRUE(shown.contains("\n5. Formel\nX₁→X₂\n"));
  EXPECT_EQ(shown.count(QString::fromUtf8("◄ disjunktive Normalform")), 5);
  EXPECT_EQ(shown.count(QString::fromUtf8("◄ konjunktive Normalform")), 5);
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(view->isReadOnly());
  EXPECT_TRUE(Edit<QPushButton>("PdfButton")->isEnabled());
  // A new Start replaces the text.
  RunWindow("x1", "out");
  EXPECT_TRUE(view->toPlainText().startsWith("X₁\n\nUmformen in die disjunktive Normalform:\n  1. X₁\n"))
      << view->toPlainText().toStdString();
  // With "Ergebnis" ticked each block ends with the section, in the document and the view.
  Edit<QCheckBox>("Ergebnis")->click();
  RunWindow("(x1vx2)+(x1v-x2)", "out");
  EXPECT_TRUE(view->toPlainText().contains("\nMinimale disjunktive Form: X₁\n"))
      << view->toPlainText().toStdString();
  EXPECT_NE(ReadFile(InFolder("OUT.TEX")).find("Minimale disjunktive Form: $X_{1}$"), std::string::npos);
  // The section's KV diagram with its block, and the Quine–McCluskey cover.
  EXPECT_TRUE(
      view->toPlainText().contains("\n  X₂\\X₁ | 0    1\n  ------+----------\n  0     | 0    1 A\n"
                                   "  1     | 0    1 A\nBlock A: X₁\n"))
      << view->toPlainText().toStdString();
  EXPECT_TRUE(
      view->toPlainText().contains("\nGewählte Überdeckung: P1; das ist die minimale disjunktive Form.\n"));
  EXPECT_NE(ReadFile(InFolder("OUT.TEX")).find("\\karnaughmap{2}{$F$}{{$X_{2}$}{$X_{1}$}}{0101}"),
            std::string::npos);
}

// A derivation stopped at the member limit with "Ergebnis" ticked: the view ends with the
// section computed from the formula itself, and the stop is reported as before.
TEST_F(StartAction, AStoppedDerivationEndsWithTheSectionOfTheFormula) {
  MakeForm();
  Edit<QCheckBox>("Ergebnis")->click();
  RunWindow("(x1==x2)==(x3==x4)", "halt");
  const QString shown = Edit<QPlainTextEdit>("Herleitung")->toPlainText();
  EXPECT_TRUE(shown.contains("Die Herleitung ist abgebrochen")) << shown.right(2000).toStdString();
  EXPECT_TRUE(shown.contains("\nMinimale konjunktive Form: ")) << shown.right(2000).toStdString();
  EXPECT_TRUE(ReadFile(InFolder("HALT.TEX")).ends_with("\\end{document}\r\n"));
}

// A derivation beyond what the view holds: its beginning, then a note with the document's
// path and size; the whole document is written all the same.
TEST_F(StartAction, AVeryLongDerivationShowsItsBeginningAndANote) {
  MakeForm();
  RunWindow(LongInput(30), "lang");
  const QString shown = Edit<QPlainTextEdit>("Herleitung")->toPlainText();
  EXPECT_LE(shown.toUtf8().size(), static_cast<qsizetype>(DerivationFeed::kShownBytes + 1000));
  EXPECT_TRUE(shown.startsWith("1. Formel\n"));
  EXPECT_TRUE(shown.contains("Vollständig im Dokument " + InFolder("LANG.TEX")))
      << shown.right(300).toStdString();
  EXPECT_TRUE(ReadFile(InFolder("LANG.TEX")).ends_with("\\end{document}\r\n"));
}

// PDF: without pdflatex the button says how to get it; with it, the PDF lands next to the
// .TEX and is handed to the desktop's viewer.
TEST_F(StartAction, PdfButtonTypesetsTheWrittenDocument) {
  Form1& form = MakeForm();
  RunWindow("x1=>x2", "out");
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", "");
  form.PdfClicked();
  qputenv("PATH", path);
  ASSERT_EQ(dialogs_->errors.size(), 1);
  EXPECT_TRUE(dialogs_->errors[0].contains("apt install texlive-latex-base texlive-lang-german"));
  EXPECT_FALSE(form.Typesetting());
  if (FindOnPath("pdflatex").empty())
    GTEST_SKIP() << "pdflatex is not installed (tools/install-deps.sh installs it)";
  // Clicked again while pdflatex works, the button cancels.
  form.PdfClicked();
  ASSERT_TRUE(form.Typesetting());
  EXPECT_EQ(Edit<QPushButton>("PdfButton")->text(), "PDF abbrechen");
  form.PdfClicked();
  EXPECT_FALSE(form.Typesetting());
  EXPECT_EQ(Edit<QLabel>("StatusLine")->text(), "PDF abgebrochen.");
  EXPECT_FALSE(QFile::exists(InFolder("OUT.pdf")));
  form.PdfClicked();
  ASSERT_TRUE(WaitUntil([&] { return !form.Typesetting(); }));
  EXPECT_EQ(dialogs_->errors.size(), 1);
  ASSERT_EQ(opened_, QStringList{InFolder("OUT.pdf")});
  EXPECT_EQ(ReadFile(opened_[0]).substr(0, 5), "%PDF-");
  EXPECT_TRUE(Edit<QLabel>("StatusLine")->text().contains("OUT.pdf"));
}

// At the size limit the run stops like at a full disk: the previous document stays, and the
// message names the ways on; without the tick the document is written whole.
TEST_F(StartAction, TheSizeLimitKeepsThePreviousDocumentUntilItIsLifted) {
  documentLimit_ = 64 << 10;
  MakeForm();
  auto* limitBox = Edit<QCheckBox>("Groessengrenze");
  EXPECT_TRUE(limitBox->isChecked());
  EXPECT_EQ(limitBox->text(), QString::fromUtf8("höchstens 100 MB"));
  { std::ofstream(InFolder("ALT.TEX").toStdString(), std::ios::binary) << "alt"; }
  RunWindow("x1==x2==x3==x4==x5", "alt");
  ASSERT_EQ(dialogs_->errors.size(), 1);
  const QString message = dialogs_->errors[0];
  for (const char* part : {"größer als die erlaubten 64,0 KB", "„wenig Zwischenschritte“", "„höchstens 100 MB“"})
    EXPECT_TRUE(message.contains(QString::fromUtf8(part))) << message.toStdString();
  EXPECT_EQ(ReadFile(InFolder("ALT.TEX")), "alt");
  EXPECT_EQ(FolderEntries(), QStringList{"ALT.TEX"});
  limitBox->setChecked(false);
  RunWindow("x1==x2==x3==x4==x5", "alt");
  EXPECT_EQ(dialogs_->errors.size(), 1);
  EXPECT_GT(ReadFile(InFolder("ALT.TEX")).size(), std::size_t{64} << 10);
}

// A pdflatex that hangs is stopped at the time limit with everything it started, and the
// message says that the document stays and the previous PDF too.
TEST_F(StartAction, PdfButtonStopsAHangingPdflatexAtTheTimeLimit) {
  QTemporaryDir tools;
  const QString script = tools.filePath("pdflatex");
  const QString pids = tools.filePath("pids.txt");
  {
    std::ofstream(script.toStdString()) << "#!/bin/sh\necho $$ >> '" << pids.toStdString()
                                        << "'\nsleep 300 &\necho $! >> '" << pids.toStdString() << "'\nwait\n";
  }
  QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  typesettingLimit_ = std::chrono::seconds(1);
  Form1& form = MakeForm();
  RunWindow("x1=>x2", "out");
  { std::ofstream(InFolder("OUT.pdf").toStdString()) << "altes PDF"; }
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", tools.path().toUtf8() + ":" + path);
  form.PdfClicked();
  qputenv("PATH", path);
  ASSERT_TRUE(form.Typesetting());
  ASSERT_TRUE(WaitUntil([&] { return !form.Typesetting(); }, 10000));
  ASSERT_EQ(dialogs_->errors.size(), 1);
  EXPECT_TRUE(dialogs_->errors[0].contains("pdflatex war nach 1 Sekunde nicht fertig"))
      << dialogs_->errors[0].toStdString();
  EXPECT_TRUE(dialogs_->errors[0].contains("bleibt unverändert")) << dialogs_->errors[0].toStdString();
  EXPECT_EQ(ReadFile(InFolder("OUT.pdf")), "altes PDF");
  EXPECT_EQ(Edit<QPushButton>("PdfButton")->text(), "&PDF");
  std::istringstream started(ReadFile(pids));
  // A killed process is gone, or a zombie, once the kernel has delivered the signal.
  const auto ended = [](const std::string& pid) {
    const std::string stat = ReadFile(QString::fromStdString("/proc/" + pid + "/stat"));
    return stat.empty() || stat.find(") Z ") != std::string::npos;
  };
  for (std::string pid; started >> pid;)
    EXPECT_TRUE(WaitUntil([&] { return ended(pid); }, 5000)) << "left running: " << pid;
}

// Pasting a line of megabytes would keep the window busy laying it out for minutes: a line
// beyond the input's limit is refused with a note, everything else is pasted as it is.
TEST_F(StartAction, APastedLineBeyondTheLimitIsRefusedWithANote) {
  MakeForm();
  auto* edit = Edit<QPlainTextEdit>("Text1");
  const auto line = [](qsizetype length) {
    QString text;
    while (text.size() < length) text += "(x1vx2)+";
    return text.left(length);
  };
  QString manyLines;
  for (int k = 0; k < 20000; ++k) manyLines += "x1vx2\n";
  const struct {
    const char* name;
    QString text;
    bool taken;
  } cases[] = {
      {"5 MB in one line", line(5'000'000), false},
      {"one character too many", "x1\n" + line(20001) + "\nx2", false},
      {"at the limit", line(20000), true},
      {"many short lines", manyLines, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    edit->setPlainText("x3");
    edit->selectAll();
    dialogs_->errors.clear();
    QApplication::clipboard()->setText(c.text);
    edit->paste();
    EXPECT_EQ(edit->toPlainText() == c.text, c.taken);
    EXPECT_EQ(edit->toPlainText() == "x3", !c.taken);
    ASSERT_EQ(dialogs_->errors.size(), c.taken ? 0 : 1);
    if (!c.taken) {
      EXPECT_TRUE(dialogs_->errors[0].contains("höchstens 20.000 Zeichen je Zeile")) << dialogs_->errors[0].toStdString();
      EXPECT_TRUE(dialogs_->errors[0].contains("umbrix -i DATEI"));
    }
  }
}

TEST_F(StartAction, CaptionIsActiveDuringTheRunAndPlainAfterIt) {
  Form1& form = MakeForm();
  QStringList captions;
  bool activeWhileRunning = false;
  QObject::connect(&form, &QWidget::windowTitleChanged, &form, [&](const QString& caption) {
    captions << caption;
    if (caption == "Umbrix [aktiv]") activeWhileRunning = form.Running();
  });
  Edit<QPlainTextEdit>("Text1")->setPlainText(LongInput(5));
  form.Command1_Click();
  EXPECT_FALSE(Edit<QPushButton>("Command1")->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return !form.Running(); }));
  EXPECT_EQ(captions, QStringList({"Umbrix [aktiv]", "Umbrix"}));
  EXPECT_TRUE(activeWhileRunning);
  EXPECT_EQ(form.windowTitle(), "Umbrix");
  EXPECT_TRUE(Edit<QPushButton>("Command1")->isEnabled());
}

TEST_F(StartAction, EditsDuringARunDoNotAffectIt) {
  Form1& form = MakeForm();
  Edit<QPlainTextEdit>("Text1")->setPlainText(kSamples);
  Edit<QLineEdit>("Text2")->setText(InFolder("gui"));
  form.Command1_Click();
  Edit<QPlainTextEdit>("Text1")->setPlainText("x7");
  Edit<QLineEdit>("Text2")->setText(InFolder("other"));
  ASSERT_TRUE(WaitUntil([&] { return !form.Running(); }));
  EXPECT_EQ(ReadFile(InFolder("GUI.TEX")),
            CommandLineDocument(kSamples, InFolder("cli"), OptionEntry::kManySteps));
  EXPECT_FALSE(QFile::exists(InFolder("OTHER.TEX")));
}

TEST_F(StartAction, InvalidInputIsReportedAndKeepsAnExistingFile) {
  Form1& form = MakeForm();
  {
    std::ofstream existing(InFolder("ALT.TEX").toStdString(), std::ios::binary);
    existing << "alt";
  }
  RunWindow("x1+x2\nx1 +* x2\n", "alt");
  ASSERT_EQ(dialogs_->errors.size(), 1);
  EXPECT_TRUE(dialogs_->errors[0].contains("Zeile 2")) << dialogs_->errors[0].toStdString();
  EXPECT_EQ(ReadFile(InFolder("ALT.TEX")), "alt");
  EXPECT_TRUE(Edit<QPushButton>("Command1")->isEnabled());
  EXPECT_EQ(form.windowTitle(), "Umbrix");
  EXPECT_EQ(Edit<QPlainTextEdit>("Text1")->toPlainText(), "x1+x2\nx1 +* x2\n")
      << "bad input is left as typed";
  EXPECT_TRUE(Edit<QPlainTextEdit>("Herleitung")->toPlainText().startsWith("Keine Herleitung: "));
  EXPECT_TRUE(Edit<QPlainTextEdit>("Herleitung")->toPlainText().contains("Zeile 2"));
  EXPECT_FALSE(Edit<QPushButton>("PdfButton")->isEnabled());
}

TEST_F(StartAction, AnUnwritableFileIsReportedAndStartComesBack) {
  MakeForm();
  RunWindow(kSamples, InFolder("fehlt/out"));
  ASSERT_EQ(dialogs_->errors.size(), 1);
  EXPECT_TRUE(dialogs_->errors[0].contains("kann nicht angelegt werden"))
      << dialogs_->errors[0].toStdString();
  EXPECT_TRUE(Edit<QPushButton>("Command1")->isEnabled());
  // The window stays usable: the next run succeeds.
  RunWindow(kSamples, InFolder("out"));
  EXPECT_EQ(dialogs_->errors.size(), 1);
  EXPECT_TRUE(QFile::exists(InFolder("OUT.TEX")));
}

TEST_F(StartAction, TheOptionIsReadAtTheMomentOfUse) {
  Form1& form = MakeForm();
  for (OptionEntry entry : {OptionEntry::kFewSteps, OptionEntry::kFastSimplify, OptionEntry::kManySteps}) {
    Edit<QRadioButton>(QString("Option1_%1").arg(EntryNumber(entry)).toUtf8().constData())->click();
    for (const OptionInfo& other : kOptionTable)
      EXPECT_EQ(form.OptionSelected(other.entry), other.entry == entry);
  }
}

}  // namespace
}  // namespace umbrix::window::testing
