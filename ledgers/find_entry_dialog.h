#pragma once
// Find_Entry: the find dialog. Shown without waiting, over the main window, after the
// command that opens it has set the session's SearchMode (0 the entries' notes, 1 the entry
// numbers). Find puts the typed text in SearchText, marks the search pending and hands it
// to the find-results journal (FindJournal), which shows the entries found. The dialog
// stays open for the next search.

#include <QDialog>
#include <functional>

#include "books/session.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class Find_Entry : public QDialog {
  Q_OBJECT

 public:
  // `showResults` shows the pending search in the find-results journal.
  Find_Entry(Session& session, std::function<void()> showResults, QWidget* owner = nullptr);

  QLineEdit* SearchBox = nullptr;
  QPushButton* FindButton = nullptr;

  // The Find button (and Enter in the box).
  void Find_Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Session& session_;
  std::function<void()> showResults_;
  QLabel* prompt_ = nullptr;
};

}  // namespace qv
