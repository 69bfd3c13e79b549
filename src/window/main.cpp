// umbrix-gui: the desktop window.
#include <QApplication>

#include "window/form1.hpp"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  umbrix::window::Form1 form;
  if (!form.Form_Load()) return 0;  // the notice was answered wrongly
  return application.exec();
}
