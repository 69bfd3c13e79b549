// Saves a picture of the window as it opens: window_screenshot FILE.png
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "window/form1.hpp"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: window_screenshot DATEI.png\n");
    return 2;
  }
  umbrix::window::Form1 form;
  form.show();
  QApplication::processEvents();
  return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
