#include "calculators/depreciation_window.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "controls/vertical_scroll_control.h"
#include "tests/support/prompt_answerer.h"

namespace qv::testing {
namespace {

class DepreciationWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { w.show(); }
  void Calculate(const char* cost, const char* percent, const char* years) {
    w.Cost->setText(cost);
    w.Percent->setText(percent);
    w.TheYears->setText(years);
    w.Command1->click();
  }
  // The texts of the shown rows that hold schedule rows.
  std::vector<QString> Rows() const {
    std::vector<QString> out;
    for (int k = 0; k < w.ShownRows(); ++k)
      if (w.L1(k)->isVisible())
        out.push_back(w.L1(k)->text() + " " + w.Stage1(k)->text() + " " + w.L2(k)->text() + " " +
                      w.Stage2(k)->text());
    return out;
  }
  // Every control of the window shows its whole text without touching another.
  static void ExpectReadable(const QWidget* parent) {
    const QList<QWidget*> all = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* a : all) {
      if (!a->isVisible()) continue;
      const auto* label = qobject_cast<const QLabel*>(a);
      const auto* edit = qobject_cast<const QLineEdit*>(a);
      const QString text = label ? label->text() : edit ? edit->text() : QString();
      EXPECT_LE(QFontMetrics(a->font()).horizontalAdvance(text), a->width() - (edit ? 5 : 0))
          << text.toStdString();
      for (const QWidget* b : all)
        EXPECT_FALSE(a != b && b->isVisible() && a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " " << b->objectName().toStdString();
      EXPECT_TRUE(parent->rect().contains(a->geometry())) << a->objectName().toStdString();
    }
  }

  // The widget that holds the schedule's rows.
  QWidget* RowsParent() const { return w.L1(0)->parentWidget(); }

  Books books;
  Depreciation w{books, UsEnglishLocale()};
};

TEST_F(DepreciationWindowTest,
       CalculateShowsOneRowPerYearScrollsPastThirteenAndRefusesFiguresBeyondReach) {
  EXPECT_FALSE(w.Frame1->isVisible());
  Calculate("1000", "20", "3");
  EXPECT_TRUE(w.Frame1->isVisible());
  EXPECT_EQ(Rows(), (std::vector<QString>{"Year 1: 1,000.00 x 20% = 200.00",
                                          "Year 2: 800.00 x 20% = 160.00",
                                          "Year 3: 640.00 x 20% = 128.00"}));
  EXPECT_FALSE(w.VScroll1->isVisible());
  ExpectReadable(&w);
  ExpectReadable(w.Frame1);
  {
    PromptAnswerer prompts;
    prompts.Then(PromptAnswer::Ok).Then(PromptAnswer::Ok);
    Calculate("1000", "20", "100000");
    Calculate("1e20", "20", "3");
    EXPECT_EQ(prompts.Texts(),
              (std::vector<std::string>{kDepreciationYearsText, kDepreciationRangeText}));
    EXPECT_EQ(Rows().size(), 3u);
  }
  // Fewer years, or none: the rows of the first calculation go, or stay.
  Calculate("1000", "20", "1.5");
  EXPECT_EQ(Rows().size(), 1u);
  Calculate("5", "20", "0.5");
  EXPECT_EQ(w.Stage1(0)->text(), "1,000.00");
  // The journal's decimals at the time of the calculation; a long rate widens the frame.
  books.JournalDecimals = 0;
  const int width = w.width();
  Calculate("1000", "12.3456789012", "2");
  EXPECT_EQ(w.Stage2(0)->text(), "123");
  EXPECT_GT(w.width(), width);
  ExpectReadable(&w);
  ExpectReadable(w.Frame1);
  // More than thirteen years scroll.
  Calculate("1000", "10", "13");
  EXPECT_FALSE(w.VScroll1->isVisible());
  Calculate("1000", "10", "14");
  ASSERT_TRUE(w.VScroll1->isVisible());
  EXPECT_EQ(w.VScroll1->ValueMax(), 290 + 360 * 13 - 4700);
  // At the end the last year is shown whole inside the frame, its caption beside its box.
  w.VScroll1->SetValue(w.VScroll1->ValueMax());
  int last = -1;
  for (int k = 0; k < w.ShownRows(); ++k)
    if (w.RowShownAt(k) == 13) last = k;
  ASSERT_GE(last, 0);
  EXPECT_EQ(w.L1(last)->text(), "Year 14:");
  EXPECT_TRUE(w.Frame1->rect().contains(
      QRect(w.Stage2(last)->mapTo(w.Frame1, QPoint(0, 0)), w.Stage2(last)->size())));
  EXPECT_EQ(w.L1(last)->y() - w.Stage1(last)->y(), w.L1(0)->y() - w.Stage1(0)->y());
}

TEST_F(DepreciationWindowTest, TheScheduleAtTheEdgeOfTheRangeIsShownWhole) {
  Calculate("500000000000000", "100", "2");
  EXPECT_EQ(Rows(),
            (std::vector<QString>{"Year 1: 500,000,000,000,000.00 x 100% = 500,000,000,000,000.00",
                                  "Year 2: 0.00 x 100% = 0.00"}));
  ExpectReadable(&w);
  ExpectReadable(w.Frame1);
  ExpectReadable(RowsParent());
}

// Scrolled anywhere, up to the end, the rows draw nothing outside the schedule's area (from
// the top of the scroll bar to its foot, left of it): neither over the frame's caption nor
// over its lower edge.
TEST_F(DepreciationWindowTest, RowsAreDrawnOnlyInsideTheSchedulesArea) {
  for (const char* years : {"14", "40", "1000"}) {
    Calculate("1000", "20", years);
    ASSERT_TRUE(w.VScroll1->isVisible());
    const QRect area(w.Frame1->mapTo(&w, QPoint(0, w.VScroll1->y())),
                     QSize(w.VScroll1->x(), w.VScroll1->height()));
    for (const int value : {w.VScroll1->ValueMax(), w.VScroll1->ValueMax() - 100, 190}) {
      w.VScroll1->SetValue(value);
      const QImage drawn = w.grab().toImage();
      std::vector<QWidget*> shown;
      for (int k = 0; k < w.ShownRows(); ++k)
        for (QWidget* part : {static_cast<QWidget*>(w.L1(k)), static_cast<QWidget*>(w.Stage1(k)),
                              static_cast<QWidget*>(w.L2(k)), static_cast<QWidget*>(w.Stage2(k))})
          if (part->isVisible()) shown.push_back(part);
      for (QWidget* part : shown) part->hide();
      const QImage bare = w.grab().toImage();
      for (QWidget* part : shown) part->show();
      ASSERT_EQ(drawn.size(), bare.size());
      int outside = 0;
      int inside = 0;
      for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
          if (drawn.pixel(x, y) != bare.pixel(x, y)) ++(area.contains(x, y) ? inside : outside);
      EXPECT_EQ(outside, 0) << years << " years, scrolled to " << value;
      EXPECT_GT(inside, 0) << years << " years, scrolled to " << value;
    }
  }
}

// Tab and Shift+Tab walk the whole window, scrolled anywhere: every stop in the schedule
// lies wholly inside its area, across and down, and the rows that can be seen are reached.
TEST_F(DepreciationWindowTest, KeysTabStopsOnlyOnRowsThatCanBeSeen) {
  w.activateWindow();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  for (const char* years : {"15", "40"}) {
    Calculate("1000", "20", years);
    for (const int value : {0, 190, w.VScroll1->ValueMax()}) {
      w.VScroll1->SetValue(value);
      for (const Qt::Key key : {Qt::Key_Backtab, Qt::Key_Tab}) {
        w.Cost->setFocus(Qt::TabFocusReason);
        int rowStops = 0;
        for (int i = 0; i < 60; ++i) {
          QTest::keyClick(QApplication::focusWidget(), key);
          QWidget* at = QApplication::focusWidget();
          ASSERT_NE(at, nullptr);
          if (at == w.Cost) break;
          if (at->parentWidget() != RowsParent()) continue;
          ++rowStops;
          EXPECT_TRUE(RowsParent()->rect().contains(at->geometry()))
              << years << " years, scrolled to " << value << ": a box at " << at->x() << ","
              << at->y() << " outside " << RowsParent()->width() << "x" << RowsParent()->height();
        }
        EXPECT_GE(rowStops, 2 * 12) << years << " years, scrolled to " << value;
      }
    }
  }
  // A box that scrolls out of the area while it has the focus hands it to the scroll bar.
  w.VScroll1->SetValue(0);
  w.Stage1(0)->setFocus(Qt::MouseFocusReason);
  w.VScroll1->SetValue(190);
  EXPECT_EQ(QApplication::focusWidget(), w.VScroll1);
}

}  // namespace
}  // namespace qv::testing
