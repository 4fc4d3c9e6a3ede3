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
#include "tests/controls/input_events_qt.h"

namespace qv {
namespace {

using testing::Click;
using testing::ClickAt;
using testing::Grab;
using testing::SendKey;
using testing::SendMouse;

DaySerial Day(int year, int month, int day) { return *SerialOf(year, month, day); }

void Type(QWidget* w, const QString& text) {
  for (const QChar c : text) SendKey(w, c.toUpper().unicode(), QString(c));
}

const QColor kMagenta(255, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kDarkBlue(0, 0, 192);

// A small host window: the picker, a second field to move the focus to, and the handlers
// that a host wires (the entry window's date commit on leaving the box, and the Click
// protocol of DatePicked).
class DatePickerControlTest : public ::testing::Test {
 protected:
  DatePickerControlTest() {
    auto* layout = new QVBoxLayout(&window);
    picker = new CalanderForm(locale, clock, &window);
    other = new QLineEdit(&window);
    layout->addWidget(picker);
    layout->addWidget(other);
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
    for (int i = 0; i < kDayCellCount; ++i) {
      const DayCell& c = picker->Model().Cells()[static_cast<size_t>(i)];
      if (c.Visible && c.Day == day) return Layout().Cells[static_cast<size_t>(i)];
    }
    ADD_FAILURE() << "no cell shows day " << day;
    return {};
  }
  DatePanelLayout Layout() const {
    return LayOutDatePanel(picker->Calender()->width(), picker->Calender()->height());
  }
  static QPoint Centre(const PixelRect& r) { return {r.Left + r.Width / 2, r.Top + r.Height / 2}; }
  void Open() {
    ASSERT_FALSE(picker->IsOpen());
    Click(picker->CalanderButton());
    ASSERT_TRUE(picker->IsOpen());
  }
  void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  // The month and the year that the lists show.
  using MonthYear = std::pair<QString, QString>;
  MonthYear Lists() const {
    return {picker->CMonth()->currentText(), picker->Cyear()->currentText()};
  }
  // Counts the pixels of the day's cell near the colour; the caption's glyphs carry it.
  int PixelsNear(const QImage& image, int day, QColor color) const {
    const PixelRect r = CellRect(day);
    int n = 0;
    for (int y = r.Top; y < r.Top + r.Height; ++y) {
      for (int x = r.Left; x < r.Left + r.Width; ++x) {
        const QColor c = image.pixelColor(x, y);
        n += std::abs(c.red() - color.red()) < 40 && std::abs(c.green() - color.green()) < 40 &&
             std::abs(c.blue() - color.blue()) < 40;
      }
    }
    return n;
  }

  struct ClickSeen {
    int16_t datePicked;
    QString text;
    bool operator==(const ClickSeen&) const = default;
  };

  LocaleInfo locale = UsEnglishLocale();  // month first
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
  EXPECT_EQ(Lists(), MonthYear("December", "2026"));
  EXPECT_EQ(picker->Cyear()->count(), 401);
  EXPECT_EQ(picker->Text(), "05/12/2026");
  const QImage image = Grab(picker->Calender(), "date_picker_december_2026");
  EXPECT_GT(PixelsNear(image, 5, kRed), 0);
  EXPECT_GT(PixelsNear(image, 6, kDarkBlue), 0);
  EXPECT_EQ(PixelsNear(image, 6, kRed), 0);
  EXPECT_TRUE(commits.empty()) << "opening the panel is no focus loss for the host";

  // A month step writes the shown date in the book's style.
  Click(picker->Mchange(1));
  EXPECT_EQ(picker->Text(), "31/01/2027");
  EXPECT_EQ(Lists(), MonthYear("January", "2027"));
  EXPECT_TRUE(picker->CMonth()->hasFocus());
  Click(picker->Mchange(0));
  Click(picker->Mchange(0));
  EXPECT_EQ(picker->Text(), "30/11/2026");
  // A press outside the panel closes it quietly; then the user leaves the box.
  ClickAt(picker->Calender(), QPoint(-50, -50));
  EXPECT_FALSE(picker->IsOpen());
  EXPECT_TRUE(clicks.empty());
  EXPECT_TRUE(commits.empty());
  other->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(commits, std::vector{Day(2026, 11, 30)});

  // Picking a day: DatePicked is 1 while the host's Click runs, and the grid closes.
  FocusBox();
  Open();
  ClickAt(picker->Calender(), Centre(CellRect(20)));
  EXPECT_FALSE(picker->IsOpen());
  EXPECT_EQ(clicks, (std::vector<ClickSeen>{{1, "20/11/2026"}}));
  EXPECT_EQ(commits.size(), 1u);
  other->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(commits, (std::vector{Day(2026, 11, 30), Day(2026, 11, 20)}));
}

TEST_F(DatePickerControlTest, ChoosingAMonthOrYearKeepsADayThatExists) {
  picker->SetText("31/03/2025");
  Open();
  Choose(picker->CMonth(), 3);  // April
  EXPECT_EQ(picker->Text(), "30/04/2025");
  // The lists are for choosing only: typed characters do not search them.
  SendKey(picker->CMonth(), Qt::Key_M, "m");
  SendKey(picker->Cyear(), Qt::Key_1, "1");
  EXPECT_EQ(Lists(), MonthYear("April", "2025"));
  picker->SetText("29/02/2024");
  picker->WLoss();
  Open();
  Choose(picker->Cyear(), 2025 - picker->Model().FirstYear());
  EXPECT_EQ(picker->Text(), "28/02/2025");

  // Closing with the button writes the shown date and raises Click, with no pick.
  Click(picker->CalanderButton());
  EXPECT_FALSE(picker->IsOpen());
  EXPECT_EQ(clicks, (std::vector<ClickSeen>{{0, "28/02/2025"}}));
}

TEST_F(DatePickerControlTest, UnreadableTextOpensOnTodayAndTodayIsMagentaUnlessChosen) {
  picker->SetText("no date");
  Open();
  EXPECT_EQ(picker->Text(), "15/03/2026");
  QImage image = picker->Calender()->grab().toImage();
  EXPECT_GT(PixelsNear(image, 15, kRed), 0);  // the chosen day wins over today
  EXPECT_EQ(PixelsNear(image, 15, kMagenta), 0);

  picker->SetTheDate(Day(2026, 3, 10));
  image = Grab(picker->Calender(), "date_picker_today_magenta");
  EXPECT_GT(PixelsNear(image, 15, kMagenta), 0);
  EXPECT_GT(PixelsNear(image, 10, kRed), 0);

  // In April the cells past the month's end are not drawn and cannot be picked.
  Click(picker->Mchange(1));
  const PixelRect last = Layout().Cells[41];
  ClickAt(picker->Calender(), QPoint(last.Left + 3, last.Top + 3));
  EXPECT_TRUE(picker->IsOpen());
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(session.DatePicked, 0);
}

TEST_F(DatePickerControlTest, TheBoxForwardsItsKeysAndClicksAndAHostCanDropKeys) {
  std::vector<int> downs, ups;
  int entryMoves = 0;
  // The entry window's date filter: Backspace, "-", "/" and digits only.
  QObject::connect(picker, &CalanderForm::KeyPress, [](int16_t& k) {
    if (!(k == 8 || k == 45 || (k >= 47 && k <= 57))) k = 0;
  });
  // Up and Down leave the entry: commit and take the key.
  QObject::connect(picker, &CalanderForm::KeyDown, [&](int16_t& code, int16_t&) {
    downs.push_back(code);
    if (code == 38 || code == 40) {
      ++entryMoves;
      code = 0;
    }
  });
  QObject::connect(picker, &CalanderForm::KeyUp,
                   [&](int16_t& code, int16_t&) { ups.push_back(code); });
  int changes = 0, doubleClicks = 0;
  QObject::connect(picker, &CalanderForm::Change, [&] { ++changes; });
  QObject::connect(picker, &CalanderForm::DblClick, [&] { ++doubleClicks; });

  Type(picker->DateX(), "1.2/x3");
  EXPECT_EQ(picker->Text(), "12/3");
  EXPECT_EQ(changes, 4);
  SendKey(picker->DateX(), Qt::Key_Backspace, "\b");
  EXPECT_EQ(picker->Text(), "12/");
  SendKey(picker->DateX(), Qt::Key_Up);
  EXPECT_EQ(entryMoves, 1);
  EXPECT_EQ(downs.back(), 38);
  EXPECT_EQ(ups.back(), 38);
  // An auto-repeat release is no key-up.
  const size_t upsBefore = ups.size();
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(picker->DateX(), &repeat);
  EXPECT_EQ(ups.size(), upsBefore);
  picker->SetText("01/01/2026");
  EXPECT_EQ(changes, 6);

  session.DatePicked = 1;  // a stale flag from another picker
  Click(picker->DateX());
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_EQ(session.DatePicked, 0);  // the host resets it
  const QPoint at = picker->DateX()->rect().center();
  SendMouse(picker->DateX(), QEvent::MouseButtonDblClick, at);
  SendMouse(picker->DateX(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(DatePickerControlTest, DayToolTipsAndClosingOnEscapeOrWithTheHostWriteNothing) {
  picker->SetText("01/03/2024");
  Open();
  const QPoint at = Centre(CellRect(15));
  QHelpEvent help(QEvent::ToolTip, at, picker->Calender()->mapToGlobal(at));
  QApplication::sendEvent(picker->Calender(), &help);
  EXPECT_EQ(QToolTip::text(), "15 March 2024");
  QToolTip::hideText();
  EXPECT_EQ(picker->CalanderButton()->toolTip(), "Show or Hide...");

  Click(picker->Mchange(1));
  const QString stepped = picker->Text();
  SendKey(picker->Calender(), Qt::Key_Escape);
  EXPECT_FALSE(picker->IsOpen());
  EXPECT_EQ(picker->Text(), stepped);
  Open();
  window.hide();
  EXPECT_FALSE(picker->IsOpen());
  EXPECT_TRUE(clicks.empty());
}

TEST_F(DatePickerControlTest, ADisabledPickerDoesNotOpenAndStoredSettingsApply) {
  picker->SetEnabled(false);
  Click(picker->CalanderButton());
  EXPECT_FALSE(picker->IsOpen());
  picker->SetEnabled(true);

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

  // The main window dates the picker at start through TheDate without touching the box.
  picker->SetTheDate(Day(2026, 3, 15));
  EXPECT_EQ(picker->TheDate(), Day(2026, 3, 15));
  EXPECT_EQ(picker->Text(), "01/02/2026");
}

}  // namespace
}  // namespace qv
