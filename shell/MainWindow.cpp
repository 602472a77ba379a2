#include "MainWindow.h"
MainWindow::MainWindow(QApplication*) {}
