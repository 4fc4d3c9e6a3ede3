#pragma once
// What the statement window tests share: a window over a book of the test's own, the
// program's parts it needs (session, a clock on 15 March 2026), and the ledgers it opened
// and the file errors it reported, recorded.

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "books/date_styles.h"
#include "controls/date_picker_control.h"
#include "platform/units.h"
#include "statements/statement_window.h"
#include "statements/trial_balance_window.h"
#include "tests/support/book_builder.h"

namespace qv::testing {

class StatementWindowFixture : public ::testing::Test {
 protected:
  explicit StatementWindowFixture(Books book) : books(std::move(book)) {}

  StatementContext Context() {
    StatementContext context;
    context.TheBooks = &books;
    context.TheSession = &session;
    context.TheClock = &clock;
    context.OpenLedger = [this](LedgerLink link, const std::string& name, const std::string& end) {
      opened.emplace_back(link, name, end);
    };
    context.ShowFileError = [this](int code, const std::string& detail) {
      fileErrors.push_back(std::to_string(code) + " " + detail);
    };
    return context;
  }

  // A window computed and shown; the trial balance as of the clock's day.
  template <typename Window>
  std::unique_ptr<Window> Open(int widthTwips = 12000, int heightTwips = 7000) {
    auto window = std::make_unique<Window>(Context());
    window->resize(Px(widthTwips), Px(heightTwips));
    if constexpr (std::is_same_v<Window, TrialBalanceWindow>)
      window->ISCalander->SetText(QString::fromStdString(
          FormatDateStyle(clock.Today(), books.DateStyleIndex, UsEnglishLocale())));
    window->Recompute();
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }

  Books books;
  Session session;
  FixedClock clock{Day(2026, 3, 15)};
  std::vector<std::tuple<LedgerLink, std::string, std::string>> opened;
  std::vector<std::string> fileErrors;
};

}  // namespace qv::testing
