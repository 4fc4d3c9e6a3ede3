#include "platform/prompts_qt.h"
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <memory>

namespace qv {
namespace {

TEST(PromptsQt, TheBoxShowsThePromptAsPlainTextAndTheServiceWaitsForTheAnswer) {
  const PromptRequest request{"Account <b>300</b>", PromptButtons::YesNo, PromptIcon::Question,
                              std::nullopt};
  std::unique_ptr<QMessageBox> box(MakeMessageBox(request, nullptr));
  EXPECT_EQ(box->windowTitle(), "Quorvel");
  EXPECT_EQ(box->text(), "Account <b>300</b>");
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
  EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
  std::unique_ptr<QMessageBox> titled(
      MakeMessageBox({"Fix it", PromptButtons::Ok, PromptIcon::Critical, "Please Fix Now..."}, {}));
  EXPECT_EQ(titled->windowTitle(), "Please Fix Now...");
  // A question that names No as its default leaves Enter on No; a default the box does not
  // offer leaves the first button.
  std::unique_ptr<QMessageBox> careful(MakeMessageBox(
      {"Exit ?", PromptButtons::YesNo, PromptIcon::None, std::nullopt, PromptAnswer::No}, {}));
  EXPECT_EQ(static_cast<QAbstractButton*>(careful->defaultButton()),
            careful->button(QMessageBox::No));
  std::unique_ptr<QMessageBox> odd(MakeMessageBox(
      {"Saved", PromptButtons::Ok, PromptIcon::None, std::nullopt, PromptAnswer::No}, {}));
  EXPECT_EQ(static_cast<QAbstractButton*>(odd->defaultButton()), odd->button(QMessageBox::Ok));
  // The service waits for the answer; a box closed otherwise gives the escape answer.
  EXPECT_EQ(AnswerOf(QMessageBox::NoButton, PromptButtons::YesNo), PromptAnswer::No);
  EXPECT_EQ(AnswerOf(QMessageBox::Yes, PromptButtons::Ok), PromptAnswer::Ok);
  QtPromptService service;
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(service.Ask({"Exit ?", PromptButtons::YesNo, PromptIcon::None, std::nullopt}),
            PromptAnswer::No);
}

// A box stands over the window of the command that asks: the window that took the last click
// or key, through the popup it came from, or the nearest shown window it belongs to once it
// has gone; the main window when the user has done nothing yet and no window is active.
TEST(PromptsQt, ABoxStandsOverTheWindowThatTookTheLastClickOrKeyOrItsShownOwner) {
  QWidget main, statement;
  for (QWidget* window : {&main, &statement}) {
    window->resize(300, 200);
    window->show();
  }
  QtPromptService service;
  QApplication::setActiveWindow(nullptr);
  EXPECT_EQ(service.BoxParent(), nullptr);
  service.SetOwner(&main);
  EXPECT_EQ(service.BoxParent(), &main) << "nothing done yet";
  auto* box = new QLineEdit(&statement);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(service.BoxParent(), &statement);
  QMenu menu(&main);
  QTest::keyClick(&menu, Qt::Key_Down);
  EXPECT_EQ(service.BoxParent(), &main) << "a menu stands for the window it drops from";
  {
    QDialog files(&statement);
    files.show();
    QTest::keyClick(&files, Qt::Key_A);
    EXPECT_EQ(service.BoxParent(), &files);
    files.hide();
    EXPECT_EQ(service.BoxParent(), &statement) << "the dialog's owner once it has gone";
  }
  EXPECT_EQ(service.BoxParent(), &statement);
  // The main window's close box, which the window system handles, asks over the main window.
  QCloseEvent closing;
  QSpontaneKeyEvent::setSpontaneous(&closing);
  closing.ignore();
  QApplication::instance()->notify(&main, &closing);
  EXPECT_EQ(service.BoxParent(), &main);
  QTest::mouseClick(box, Qt::LeftButton);
  statement.hide();
  QApplication::setActiveWindow(nullptr);
  EXPECT_EQ(service.BoxParent(), &main);
}

// A message that names a long path whose names have no place to break a line wraps inside
// the box: every line fits its width and the box is tall enough for all of them, and no
// taller than the screen. It reads as it was written.
TEST(PromptsQt, ALongPathWrapsInsideTheBox) {
  std::string path;
  while (path.size() < 3800) path += "/" + std::string(200, 'x');
  const std::string text = "Writing \"" + path + "/" + std::string(250, 'b') +
                           ".acc\" failed: File name too long. The file was not changed.";
  std::unique_ptr<QMessageBox> box(
      MakeMessageBox({text, PromptButtons::Ok, PromptIcon::Critical, std::nullopt}, nullptr));
  box->show();
  QApplication::processEvents();
  EXPECT_EQ(box->text().remove(QChar(0x200B)).toStdString(), text);
  const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(box->rect().contains(QRect(label->mapTo(box.get(), QPoint()), label->size())));
  const QRect screen = box->screen()->availableGeometry();
  EXPECT_LE(box->frameGeometry().width(), screen.width());
  EXPECT_LE(box->frameGeometry().height(), screen.height());
  // The label's text laid out as a word-wrapping label lays it out.
  const int width = label->contentsRect().width();
  QTextLayout layout(label->text(), label->font());
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  qreal height = 0;
  int lines = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    EXPECT_LE(line.naturalTextWidth(), width) << "line " << lines;
    height += line.height();
    ++lines;
  }
  layout.endLayout();
  EXPECT_GT(lines, 10);
  EXPECT_LE(height, label->contentsRect().height() + 1);
}

}  // namespace
}  // namespace qv
