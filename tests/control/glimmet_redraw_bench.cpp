// Timing of a full Redraw: a 120 x 32 "Windows XP" button with a 16 x 16
// picture (target: under 100 microseconds). A benchmark, not a test.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "glimmet.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget form;
  form.resize(200, 60);
  QImage picture(16, 16, QImage::Format_RGB32);
  picture.fill(QColor(192, 192, 192));
  for (int i = 2; i < 14; ++i)
    for (int j = 2; j < 14; ++j) picture.setPixelColor(i, j, QColor(20 * (i % 8), 120, 40));
  Glimmet* button = CreateGlimmet(
      &form, "btnSend", GlimmetPropertyBag{{"btype", 3}, {"tx", "&Send"}, {"picn", picture}});
  button->setGeometry(10, 10, 120, 32);
  form.show();
  QApplication::processEvents();

  for (int look = 0; look < 2; ++look) {
    const int state = look == 0 ? 0 : 2;
    const int rounds = 20000;
    for (int i = 0; i < 1000; ++i) button->Redraw(state, true);  // warm up
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) button->Redraw(state, true);
    const double us = static_cast<double>(timer.nsecsElapsed()) / 1000.0 / rounds;
    std::printf("Redraw 120x32 Windows XP with 16x16 picture, %s: %.1f us\n",
                state == 0 ? "up" : "down", us);
  }
  return 0;
}
