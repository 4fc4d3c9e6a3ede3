#include "controls/print_setup_dialog.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <tuple>
#include "tests/controls/fake_printer_port.h"
#include "tests/controls/input_events_qt.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

using namespace testing;

class PrintSetupDialogTest : public ::testing::Test {
 protected:
  PrintSetupDialogTest() {
    port_.Add("Office", {1, 5, 9});
    port_.Current = "Office";
    port_.Paper = 9;
  }
  FakePrinterPort port_;
  PrintSetupModel model_{port_};
  Session session_;
};

TEST_F(PrintSetupDialogTest, ShowsEveryChoiceWholeAndApart) {
  model_.Open();
  Printformer dialog(model_);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Print Page(s)...");
  EXPECT_EQ(dialog.Combo1()->currentText() + "|" + dialog.Combo2()->currentText(),
            "Office|A4, 210 x 297 mm");
  EXPECT_EQ(dialog.PxSize()->currentText() + dialog.Copying()->text(), "100%1");
  EXPECT_TRUE(dialog.PorL(1)->isChecked());  // turned to portrait on the first opening
  EXPECT_TRUE(dialog.DPIBox(4)->isChecked());
  // The frames stand apart inside the window, each as large as its contents ask.
  const QList<QGroupBox*> frames = dialog.findChildren<QGroupBox*>();
  ASSERT_EQ(frames.size(), 7);
  for (QGroupBox* frame : frames) {
    EXPECT_TRUE(dialog.rect().contains(frame->geometry())) << frame->title().toStdString();
    EXPECT_GE(frame->width(), frame->minimumSizeHint().width()) << frame->title().toStdString();
    for (QGroupBox* other : frames)
      EXPECT_TRUE(other == frame || !frame->geometry().intersects(other->geometry()));
  }
  for (QPushButton* button : {dialog.Command1(), dialog.Command2()}) {
    EXPECT_GE(button->width(), button->sizeHint().width());
    for (QGroupBox* frame : frames) EXPECT_FALSE(button->geometry().intersects(frame->geometry()));
  }
  EXPECT_FALSE(dialog.Command1()->geometry().intersects(dialog.Command2()->geometry()));
  EXPECT_FALSE(dialog.NoPrinterNote()->isVisible()) << "a printer was found";
  Grab(&dialog, "print_setup_dialog");
}

// Why the widget's text does not show whole, or "" when it does: a text shows whole when its
// widget is at least as large as the text asks (a wrapped text as high as its lines at its
// width) and the boxes it stands in leave all of the widget to be seen.
std::string CutText(QWidget* widget) {
  QWidget* window = widget->window();
  QRect shown(widget->mapTo(window, QPoint(0, 0)), widget->size());
  QRect whole = shown;
  for (QWidget* up = widget->parentWidget(); up != nullptr && up != window; up = up->parentWidget())
    shown &= QRect(up->mapTo(window, QPoint(0, 0)), up->size());
  shown &= window->rect();
  if (shown != whole) return "cut by the window or the frame it stands in";
  QSize wanted = widget->minimumSizeHint();
  if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap())
    wanted.setHeight(label->heightForWidth(label->width()));
  // A frame's text is its title; what stands in it is looked at on its own.
  if (auto* frame = qobject_cast<QGroupBox*>(widget))
    wanted = QSize(frame->fontMetrics().horizontalAdvance(frame->title()),
                   frame->fontMetrics().height());
  if (widget->width() < wanted.width() || widget->height() < wanted.height())
    return std::to_string(widget->width()) + " x " + std::to_string(widget->height()) +
           " where it needs " + std::to_string(wanted.width()) + " x " +
           std::to_string(wanted.height());
  return "";
}

// Every text of the set-up (the frames' titles, the note without a printer, the check box,
// the lists, the boxes and the buttons) shows whole, at whatever font resolution the screen
// has; the tests run at 96 dpi and again under X11 at 120 and 144 dpi.
TEST_F(PrintSetupDialogTest, EveryTextShowsWholeWithAndWithoutAPrinter) {
  QWidget owner;
  owner.resize(800, 600);
  owner.show();
  for (const bool printer : {true, false}) {
    FakePrinterPort port;
    if (printer) port.Add("Office", {1, 5, 9});
    PrintSetupModel model(port);
    WhenModalShows<Printformer>([printer](Printformer& dialog) {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
      EXPECT_EQ(dialog.NoPrinterNote()->isVisible(), !printer);
      for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        const bool hasText = qobject_cast<QLabel*>(widget) || qobject_cast<QGroupBox*>(widget) ||
                             qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget);
        // The pictures have no text; a list's own edit box is the list's.
        if (!hasText || !widget->isVisible() || qobject_cast<QToolButton*>(widget) ||
            qobject_cast<QComboBox*>(widget->parentWidget()))
          continue;
        EXPECT_EQ(CutText(widget), "")
            << widget->objectName().toStdString() << " " << widget->metaObject()->className()
            << (printer ? " with a printer" : " without a printer");
      }
      Grab(&dialog, printer ? "print_setup_texts" : "print_setup_texts_no_printer");
      dialog.Command2()->click();
    });
    ShowPrintSetup(&owner, session_, model);
  }
}

TEST_F(PrintSetupDialogTest, PrintReturnsTheCopiesAndScaleEscapeNothingAndChoicesStay) {
  WhenModalShows<Printformer>([](Printformer& dialog) {
    dialog.Copying()->setText("2");
    emit dialog.Copying()->textEdited("2");
    dialog.PxSize()->setEditText("85%");
    dialog.Command1()->click();
  });
  PrintSetupResult result = ShowPrintSetup(nullptr, session_, model_);
  EXPECT_EQ(result.Copies, 2);
  EXPECT_DOUBLE_EQ(result.Scale, 0.85);
  EXPECT_EQ(session_.PrintCopies, 2);
  // Cancel and the close box are tried over the main window; here Escape.
  WhenModalShows<Printformer>([](Printformer& d) { SendKey(&d, Qt::Key_Escape); });
  result = ShowPrintSetup(nullptr, session_, model_);
  EXPECT_TRUE(result.Copies == 0 && session_.PrintCopies == 0);
  // The next opening shows the earlier choices.
  WhenModalShows<Printformer>([](Printformer& dialog) {
    EXPECT_EQ(dialog.Copying()->text() + "|" + dialog.PxSize()->currentText(), "2|85%");
    dialog.Command1()->click();
  });
  EXPECT_EQ(ShowPrintSetup(nullptr, session_, model_).Copies, 2);
}

TEST_F(PrintSetupDialogTest, ThePicturesAndBoxesSetThePrinter) {
  model_.Open();
  Printformer dialog(model_);
  dialog.show();
  dialog.PorL(2)->click();
  dialog.DPIBox(2)->click();
  dialog.DPIColorIt(1)->click();
  dialog.Check1()->click();
  EXPECT_EQ(std::tuple(port_.Orientation_, port_.Quality, port_.Color, port_.TwoSided),
            std::tuple(kLandscape, -2, kMonochrome, true));
  EXPECT_FALSE(dialog.PorL(1)->isChecked() || dialog.DPIBox(4)->isChecked());
  dialog.Combo2()->setCurrentIndex(1);
  emit dialog.Combo2()->activated(1);
  EXPECT_EQ(port_.Paper, 5);
  // Typing in the printer list chooses nothing.
  SendKey(dialog.Combo1(), Qt::Key_P, "P");
  EXPECT_EQ(dialog.Combo1()->currentText(), "Office");
  // The spinner writes the copies; a text size below 20% becomes 20% on leaving the box.
  dialog.VScroll1()->setValue(7);
  EXPECT_EQ(dialog.Copying()->text(), "7");
  dialog.PxSize()->setEditText("5%");
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(dialog.PxSize()->lineEdit(), &out);
  EXPECT_EQ(dialog.PxSize()->currentText().toStdString() + model_.TextSize(), "20%20%");
}

// Tab runs through every choice in reading order, the pictures included, and Space presses
// a picture as a click does: landscape and black and white need no mouse.
TEST_F(PrintSetupDialogTest, KeysTabReachesEveryChoiceAndSpacePressesThePictures) {
  model_.Open();
  Printformer dialog(model_);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.Combo1()->setFocus(Qt::TabFocusReason);
  QStringList walked;
  for (int i = 0; i < 20 && (walked.isEmpty() || QApplication::focusWidget() != dialog.Combo1());
       ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked << QApplication::focusWidget()->objectName();
  }
  EXPECT_EQ(walked.join(" ").toStdString(),
            "Combo2 Check1 DPIColorIt1 DPIColorIt2 DPIBox1 DPIBox2 DPIBox3 DPIBox4 PorL1 PorL2 "
            "PxSize Copying Command1 Command2 Combo1");
  for (QToolButton* picture : {dialog.PorL(2), dialog.DPIColorIt(1), dialog.DPIBox(2)}) {
    picture->setFocus(Qt::TabFocusReason);
    QTest::keyClick(picture, Qt::Key_Space);
    EXPECT_TRUE(picture->isChecked()) << picture->objectName().toStdString();
  }
  EXPECT_EQ(std::tuple(port_.Orientation_, port_.Quality, port_.Color),
            std::tuple(kLandscape, -2, kMonochrome));
  EXPECT_FALSE(dialog.PorL(1)->isChecked() || dialog.DPIColorIt(2)->isChecked() ||
               dialog.DPIBox(4)->isChecked());
  // The copies' spinner is worked from its box: Up adds a copy, Down takes one away.
  dialog.Copying()->setFocus(Qt::TabFocusReason);
  for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down})
    QTest::keyClick(dialog.Copying(), key);
  EXPECT_EQ(dialog.Copying()->text(), "2");
}

}  // namespace
}  // namespace qv
