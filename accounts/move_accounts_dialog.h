#pragma once
// MoveAccounts, "Move Account to Account": two account lists with type-ahead, the account
// whose postings move and the one that receives them, and "Move". A move is asked first
// ("Move Account 110 to 200, Are you sure ?"); Yes moves the postings and says how many
// moved; the window closes after Yes and after No. While either list names no account
// nothing is asked and the window stays open. The logic is accounts/move_postings.h.

#include <QDialog>
#include <array>
#include <functional>

#include "accounts/move_postings.h"
#include "platform/locale_info.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qv {

class MoveAccounts : public QDialog {
  Q_OBJECT

 public:
  // `moved` runs after postings moved (the windows that show them redisplay).
  MoveAccounts(Books& books, const LocaleInfo& locale, std::function<void()> moved,
               QWidget* parent = nullptr);

  std::array<QLabel*, 2> Label1{};
  QComboBox* A1 = nullptr;
  QComboBox* A2 = nullptr;
  QPushButton* Command1 = nullptr;

  void Command1_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Books& books_;
  LocaleInfo locale_;
  std::function<void()> moved_;
  std::vector<std::string> names_;
};

}  // namespace qv
