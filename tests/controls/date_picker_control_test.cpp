#include "controls/date_picker_control.h"
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>
#include <QVBoxLayout>
#include "books/date_styles.h"
#include "books/session.h"
#include "platform/locale_qt.h"
#include "tests/controls/input_events_qt.h"

namespace qv {
namespace {

using namespace testing;

DaySerial Day(int year, int month, int day) { return *SerialOf(year, month, day); }

// A host window: the picker, a second field to take the focus, and the handlers a host wires
// (the date commit on leaving the box, the Click protocol of DatePicked).
class DatePickerControlTest : public ::testing::Test {
 protected:
  DatePickerControlTest() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(picker = new CalanderForm(locale, clock, &window));
    layout->addWidget(other = new QLineEdit(&window));
    picker->SetSession(&session);
    picker->SetDateStyle(kDdMmYyyySlash);
    QObject::connect(picker, &CalanderForm::Click, [this] {
      clicks.push_back({session.DatePicked, picker->Text()});
      session.DatePicked = 0;
    });
    QObject::connect(picker, &CalanderForm::LostFocus, [this] {
      std::string text = picker->Text().toStdString();
      commits.push_back(ParseDateStyle(text, picker->DateStyle(), locale, clock.Today()));
      picker->WLoss();
    });
    window.resize(240, 120);
    window.show();
    FocusBox();
  }
  ~DatePickerControlTest() override { picker->WLoss(); }
  void FocusBox() {
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
    picker->DateX()->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
  }
  PixelRect CellRect(int day) const {
    const DatePanelLayout layout =
        LayOutDatePanel(picker->Calender()->width(), picker->Calender()->height());
    for (size_t i = 0; i < kDayCellCount; ++i)
      if (const DayCell& c = picker->Model().Cells()[i]; c.Visible && c.Day == day)
        return layout.Cells[i];
    return layout.Cells[41];  // a cell no month fills
  }
  static QPoint Centre(const PixelRect& r) { return {r.Left + r.Width / 2, r.Top + r.Height / 2}; }
  static void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  void Open() {
    ASSERT_FALSE(picker->IsOpen());
    Click(picker->CalanderButton());
    ASSERT_TRUE(picker->IsOpen());
  }
  // Whether the day's cell shows pixels near the colour; the caption's glyphs carry it.
  bool DayDrawnIn(const QImage& image, int day, QColor color) const {
    const PixelRect r = CellRect(day);
    for (int y = r.Top; y < r.Top + r.Height; ++y)
      for (int x = r.Left; x < r.Left + r.Width; ++x)
        if (const QColor c = image.pixelColor(x, y); std::abs(c.red() - color.red()) < 40 &&
                                                     std::abs(c.green() - color.green()) < 40 &&
                                                     std::abs(c.blue() - color.blue()) < 40)
          return true;
    return false;
  }
  using ClickSeen = std::pair<int16_t, QString>;  // DatePicked and the text at each Click
  LocaleInfo locale = UsEnglishLocale();          // month first
  FixedClock clock{Day(2026, 3, 15)};
  Session session;
  QWidget window;
  CalanderForm* picker = nullptr;
  QLineEdit* other = nullptr;
  std::vector<ClickSeen> clicks;
  std::vector<DaySerial> commits;  // the date the host read at each focus loss
};

TEST_F(DatePickerControlTest, OpensOnTheTypedDateAndTheHostCommitsTheDateShownOnLeaving) {
  picker->SetText("05/12/2026");  // 5 December in dd/mm/yyyy on a month-first locale
  Open();
  EXPECT_EQ(picker->CMonth()->currentText() + picker->Cyear()->currentText(), "December2026");
  const QImage image = Grab(picker->Calender(), "date_picker_december_2026");
  EXPECT_TRUE(DayDrawnIn(image, 5, Qt::red) && DayDrawnIn(image, 6, QColor(0, 0, 192)));
  EXPECT_TRUE(commits.empty()) << "opening the panel is no focus loss for the host";
  // A month step writes the shown date in the book's style.
  Click(picker->Mchange(1));
  EXPECT_EQ(picker->Text(), "31/01/2027");
  Click(picker->Mchange(0));
  Click(picker->Mchange(0));
  EXPECT_EQ(picker->Text(), "30/11/2026");
  // A press outside the panel closes it quietly; then the user leaves the box.
  ClickAt(picker->Calender(), QPoint(-50, -50));
  EXPECT_TRUE(!picker->IsOpen() && clicks.empty());
  other->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(commits, std::vector{Day(2026, 11, 30)});
  // Picking a day: DatePicked is 1 while the host's Click runs, and the grid closes.
  FocusBox();
  Open();
  ClickAt(picker->Calender(), Centre(CellRect(20)));
  EXPECT_FALSE(picker->IsOpen());
  EXPECT_EQ(clicks, (std::vector<ClickSeen>{{1, "20/11/2026"}}));
  other->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(commits, (std::vector{Day(2026, 11, 30), Day(2026, 11, 20)}));
}

TEST_F(DatePickerControlTest, UnreadableTextOpensOnTodayAndOnlyTheMonthsDaysCanBePickedOrTipped) {
  picker->SetText("no date");
  Open();
  EXPECT_EQ(picker->Text(), "15/03/2026");
  picker->SetTheDate(Day(2026, 3, 10));
  const QImage image = Grab(picker->Calender(), "date_picker_today_magenta");
  EXPECT_TRUE(DayDrawnIn(image, 15, Qt::magenta) && DayDrawnIn(image, 10, Qt::red));
  // Each day's tip names it.
  const QPoint at = Centre(CellRect(15));
  QHelpEvent help(QEvent::ToolTip, at, picker->Calender()->mapToGlobal(at));
  QApplication::sendEvent(picker->Calender(), &help);
  EXPECT_EQ(QToolTip::text(), "15 March 2026");
  QToolTip::hideText();
  // In April the cells past the month's end are not drawn and cannot be picked.
  Click(picker->Mchange(1));
  ClickAt(picker->Calender(), Centre(CellRect(31)));
  EXPECT_TRUE(picker->IsOpen() && clicks.empty());
  // Escape closes it without writing anything.
  SendKey(picker->Calender(), Qt::Key_Escape);
  EXPECT_FALSE(picker->IsOpen());
  EXPECT_EQ(picker->Text(), "30/04/2026");
  // The lists take no typed keys; closing with the button raises Click, with no pick.
  Open();
  SendKey(picker->CMonth(), Qt::Key_M, "m");
  SendKey(picker->Cyear(), Qt::Key_1, "1");
  EXPECT_EQ(picker->CMonth()->currentText() + picker->Cyear()->currentText(), "April2026");
  Click(picker->CalanderButton());
  EXPECT_EQ(clicks, (std::vector<ClickSeen>{{0, "30/04/2026"}}));
  Open();
  window.hide();
  EXPECT_FALSE(picker->IsOpen()) << "the panel does not outlive the box on screen";
}

TEST_F(DatePickerControlTest, TheMonthListChoosesADayThatExistsAndStoredSettingsApply) {
  picker->SetText("31/03/2025");
  Open();
  Choose(picker->CMonth(), 3);  // April
  EXPECT_EQ(picker->Text(), "30/04/2025");
  Click(picker->CalanderButton());

  picker->ApplySettings({.BackColor = 0xC0FFFF,
                         .FontSize = 12,
                         .DateToolTipText = "The date",
                         .Text = "01/02/2026",
                         .ForeColor = 0x000080});
  const QLineEdit* box = picker->DateX();
  EXPECT_EQ(box->font().pointSizeF(), 12);
  EXPECT_EQ(box->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));  // light yellow
  EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0x80, 0, 0));
  EXPECT_EQ(box->toolTip(), "The date");
  EXPECT_EQ(picker->Text(), "01/02/2026");
}

TEST_F(DatePickerControlTest, TheBoxForwardsItsKeysAndClicksAndAHostCanDropKeys) {
  std::vector<int> downs, ups;
  // The entry window's date filter: Backspace, "-", "/" and digits only.
  QObject::connect(picker, &CalanderForm::KeyPress, [](int16_t& k) {
    if (!(k == 8 || k == 45 || (k >= 47 && k <= 57))) k = 0;
  });
  // Up and Down leave the entry: the host takes the key.
  QObject::connect(picker, &CalanderForm::KeyDown, [&](int16_t& code, int16_t&) {
    downs.push_back(code);
    if (code == 38 || code == 40) code = 0;
  });
  QObject::connect(picker, &CalanderForm::KeyUp,
                   [&](int16_t& code, int16_t&) { ups.push_back(code); });
  int changes = 0, doubleClicks = 0;
  QObject::connect(picker, &CalanderForm::Change, [&] { ++changes; });
  QObject::connect(picker, &CalanderForm::DblClick, [&] { ++doubleClicks; });
  for (const QChar c : QString("1.2/x3")) SendKey(picker->DateX(), c.toUpper().unicode(), c);
  EXPECT_EQ(std::pair(picker->Text(), changes), std::pair(QString("12/3"), 4));
  const int cursor = picker->DateX()->cursorPosition();
  SendKey(picker->DateX(), Qt::Key_Up);
  EXPECT_EQ(picker->DateX()->cursorPosition(), cursor) << "a dropped key does nothing";
  EXPECT_EQ(std::pair(downs.back(), ups.back()), std::pair(38, 38));
  session.DatePicked = 1;  // a stale flag from another picker
  Click(picker->DateX());
  EXPECT_EQ(std::pair(clicks.size(), session.DatePicked), std::pair(size_t{1}, int16_t{0}));
  const QPoint at = picker->DateX()->rect().center();
  SendMouse(picker->DateX(), QEvent::MouseButtonDblClick, at);
  SendMouse(picker->DateX(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(std::pair(doubleClicks, clicks.size()), std::pair(1, size_t{1}))
      << "the release of a double click is no click";
}

// A disabled picker opens no panel and its box looks like any other disabled box, however
// it is coloured while it takes input.
TEST_F(DatePickerControlTest, ADisabledPickerLooksAndActsLikeADisabledBox) {
  picker->SetBackColor(0xC0FFFF);
  picker->SetEnabled(false);
  other->setEnabled(false);
  Click(picker->CalanderButton());
  EXPECT_FALSE(picker->IsOpen());
  const QImage box = Grab(picker->DateX(), "date_picker_disabled");
  const QImage plain = other->grab().toImage();
  EXPECT_EQ(box.pixelColor(box.rect().center()), plain.pixelColor(plain.rect().center()));
}

// The box shows every date of its style whole, from its first character, whatever the
// locale: under the C locale's "d MMM yyyy" a box of the design width hid the first digit
// ("1 Dec 2025" for 31 Dec 2025).
TEST_F(DatePickerControlTest, TheWidestDateOfEveryStyleAndLocaleShowsWhole) {
  for (const char* name : {"C", "en_US", "de_DE"}) {
    const LocaleInfo captured = CaptureLocale(QLocale(QString::fromLatin1(name)));
    CalanderForm box(captured, clock, &window);
    box.show();
    QLineEdit* text = box.DateX();
    const QFontMetrics metrics(text->font());
    for (int style = 0; style < kDateStyleCount; ++style) {
      box.SetDateStyle(style);
      box.setGeometry(0, 0, 101, 23);  // the host places it at its design width
      QString widest;
      for (DaySerial d = Day(2025, 1, 1); d <= Day(2026, 12, 31); ++d) {
        const QString date = QString::fromStdString(FormatDateStyle(d, style, captured));
        if (metrics.horizontalAdvance(date) > metrics.horizontalAdvance(widest)) widest = date;
      }
      box.SetText(widest);
      text->setCursorPosition(static_cast<int>(widest.size()));
      box.grab();  // the box scrolls its text as it paints it
      const int end = text->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
      text->setCursorPosition(0);
      box.grab();
      const int start = text->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
      EXPECT_NEAR(end - start, metrics.horizontalAdvance(widest), 1)
          << name << " style " << style << ": \"" << widest.toStdString() << "\" is cut";
    }
  }
}

}  // namespace
}  // namespace qv
