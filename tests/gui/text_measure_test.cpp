// The grid's text measure: whatever it remembers, every width is the one the
// font gives for the text itself.
#include <QFontDatabase>
#include <QtTest>
#include <random>
#include <string>
#include <vector>

#include "gui/grid_model.h"
#include "gui/ui_style.h"

using quorvin::gui::QtTextMeasure;

namespace {

// Cells as a day has them, and texts that kern, ligate or leave ASCII.
std::vector<std::string> Texts() {
  std::vector<std::string> texts = {"",
                                    "0",
                                    "1",
                                    "7",
                                    "11",
                                    "17",
                                    "71",
                                    "1.1",
                                    "-1",
                                    "1,000",
                                    "08-Dec-2026",
                                    "10-Dec-2026",
                                    "C1001",
                                    "C9999",
                                    "T1",
                                    "1T",
                                    "V7",
                                    "7V",
                                    "Y4",
                                    "4Y",
                                    "L1",
                                    "W0",
                                    "0W",
                                    "r1",
                                    "f1",
                                    "fi",
                                    "ffi",
                                    "AV",
                                    "To",
                                    "1/2",
                                    "(1)",
                                    "1204510000067342",
                                    "204513",
                                    "MG1000ALPH13",
                                    "I20451308122630604",
                                    "Kamal Khan",
                                    "Textedefin Ceramics Company Ltd.",
                                    "ALPHATEX",
                                    "Ca\xe9 12",
                                    "\xc6sop 7",
                                    "Stra\xdf"
                                    "e 4",
                                    "\xa0"
                                    "1\xa0",
                                    "1\t2",
                                    "A  1"};
  std::mt19937 random(7);
  const std::string alphabets[] = {"0123456789", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                   "abcdefghijklmnopqrstuvwxyz 0123456789.-/,()",
                                   "TVWYLAPFfijlrt17410.,-' ", "\xe0\xe9\xf6\xdf\xc6\xd8 019"};
  for (const std::string& alphabet : alphabets)
    for (int i = 0; i < 400; ++i) {
      std::string text(1 + random() % 24, ' ');
      for (char& c : text) c = alphabet[random() % alphabet.size()];
      texts.push_back(text);
    }
  return texts;
}

}  // namespace

class TextMeasureTest : public QObject {
  Q_OBJECT

 private:
  static void ExpectExact(const QFont& font) {
    QtTextMeasure measure(font, 96);
    const std::vector<std::string> texts = Texts();
    // Twice over, the second time from what was remembered, in another order.
    for (int round = 0; round < 2; ++round)
      for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[round == 0 ? i : texts.size() - 1 - i];
        QVERIFY2(measure.WidthTwips(text) == measure.MeasuredTwips(text),
                 qPrintable(font.family() + ": \"" + QString::fromLatin1(text) + "\" " +
                            QString::number(measure.WidthTwips(text)) + " twips, measured " +
                            QString::number(measure.MeasuredTwips(text))));
      }
    qInfo("%s: digits share widths: %s", qPrintable(QFontInfo(font).family()),
          measure.DigitsShareWidths() ? "yes" : "no");
  }

 private slots:
  void everyWidthIsTheFontsOwnInTheWindowFont() { ExpectExact(quorvin::gui::WindowFont()); }

  void everyWidthIsTheFontsOwnInOtherFonts() {
    // Serif faces kern "11"; a symbol face has no digits of one width.
    int tried = 0;
    for (const char* family : {"Liberation Serif", "Liberation Sans Narrow", "DejaVu Serif",
                               "DejaVu Sans Mono", "C059", "D050000L"}) {
      if (!QFontDatabase::families().contains(family)) continue;
      for (double points : {9.0, 24.0}) {
        QFont font(family);
        font.setPointSizeF(points);
        ExpectExact(font);
        if (QTest::currentTestFailed()) return;
      }
      ++tried;
    }
    if (tried == 0) QSKIP("none of the fonts is installed");
  }

  void aTextInTheSamePlaceIsMeasuredAgainWhenItChanged() {
    QtTextMeasure measure(quorvin::gui::WindowFont(), 96);
    std::string cell = "WWWWWWWW";
    const int wide = measure.WidthTwips(cell);
    cell.replace(0, cell.size(), "iiiiiiii");  // same bytes in memory, another text
    const int narrow = measure.WidthTwips(cell);
    QCOMPARE(narrow, measure.MeasuredTwips("iiiiiiii"));
    QVERIFY(narrow < wide);
    cell.replace(0, cell.size(), "12345678");
    QCOMPARE(measure.WidthTwips(cell), measure.MeasuredTwips("12345678"));
    cell.replace(0, cell.size(), "W2345678");
    QCOMPARE(measure.WidthTwips(cell), measure.MeasuredTwips("W2345678"));
  }

  void longTextsAreMeasuredInFull() {
    QtTextMeasure measure(quorvin::gui::WindowFont(), 96);
    const std::string longText(100000, 'W');
    QCOMPARE(measure.WidthTwips(longText), measure.MeasuredTwips(longText));
    QVERIFY(measure.WidthTwips(longText) > measure.WidthTwips(std::string(1000, 'W')));
  }
};

QTEST_MAIN(TextMeasureTest)
#include "text_measure_test.moc"
