#include "platform/prompts_qt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace qv {
namespace {

TEST(PromptsQt, TheBoxShowsThePromptAsPlainText) {
  const PromptRequest request{"Account <b>300</b>", PromptButtons::YesNo, PromptIcon::Question,
                              std::nullopt};
  std::unique_ptr<QMessageBox> box(MakeMessageBox(request, nullptr));
  EXPECT_EQ(box->windowTitle(), "Quorvel");
  EXPECT_EQ(box->text(), "Account <b>300</b>");
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
  EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));

  const PromptRequest fix{"Two or More Accounts have the same name", PromptButtons::Ok,
                          PromptIcon::Critical, "Please Fix Now..."};
  std::unique_ptr<QMessageBox> critical(MakeMessageBox(fix, nullptr));
  EXPECT_EQ(critical->windowTitle(), "Please Fix Now...");
  EXPECT_EQ(critical->icon(), QMessageBox::Critical);
}

TEST(PromptsQt, AnswersMapBackToTheOfferedButtonsAndTheServiceWaitsForThem) {
  EXPECT_EQ(AnswerOf(QMessageBox::Yes, PromptButtons::YesNoCancel), PromptAnswer::Yes);
  EXPECT_EQ(AnswerOf(QMessageBox::Cancel, PromptButtons::OkCancel), PromptAnswer::Cancel);
  // A box closed some other way gives the escape answer.
  EXPECT_EQ(AnswerOf(QMessageBox::NoButton, PromptButtons::YesNo), PromptAnswer::No);
  EXPECT_EQ(AnswerOf(QMessageBox::Yes, PromptButtons::Ok), PromptAnswer::Ok);

  QtPromptService service;
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(service.Ask({"Do you want to exit without saving ?", PromptButtons::YesNo,
                         PromptIcon::None, std::nullopt}),
            PromptAnswer::No);
}

}  // namespace
}  // namespace qv
