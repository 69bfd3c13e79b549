// Saves a picture of the window: window_screenshot FILE.png [--start [--ergebnis]]
// With --start the sample formulas are converted first (into a temporary folder), so that the
// picture shows their derivation; --ergebnis ticks "Ergebnis" before. UMBRIX_SCREENSHOT_FORMULAS,
// when set, replaces the sample formulas; UMBRIX_SCREENSHOT_SCROLL_TO, when set, scrolls the
// derivation to the first line that holds its text.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "window/form1.hpp"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const bool start = argc >= 3 && std::strcmp(argv[2], "--start") == 0;
  const bool ergebnis = argc == 4 && std::strcmp(argv[3], "--ergebnis") == 0;
  if (argc != 2 && !start) {
    std::fprintf(stderr, "Aufruf: window_screenshot DATEI.png [--start [--ergebnis]]\n");
    return 2;
  }
  const QString file = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir folder;
  umbrix::window::Form1 form;
  form.show();
  QApplication::processEvents();
  if (ergebnis) {
    if (auto* box = form.findChild<QAbstractButton*>("Ergebnis")) box->setChecked(true);
  }
  if (const QByteArray formulas = qgetenv("UMBRIX_SCREENSHOT_FORMULAS"); !formulas.isEmpty()) {
    if (auto* text1 = form.findChild<QPlainTextEdit*>("Text1")) text1->setPlainText(QString::fromUtf8(formulas));
  }
  if (start) {
    QDir::setCurrent(folder.path());
    form.Command1_Click();
    QElapsedTimer timer;
    timer.start();
    while (form.Running() && timer.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
  }
  const QByteArray scrollTo = qgetenv("UMBRIX_SCREENSHOT_SCROLL_TO");
  if (auto* view = form.findChild<QPlainTextEdit*>("Herleitung"); view != nullptr && !scrollTo.isEmpty()) {
    const QTextCursor found = view->document()->find(QString::fromUtf8(scrollTo));
    if (!found.isNull()) view->verticalScrollBar()->setValue(found.block().firstLineNumber());
    QApplication::processEvents();
  }
  return form.grab().save(file) ? 0 : 1;
}
