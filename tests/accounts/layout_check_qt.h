#pragma once
// What a user sees of a window's controls: that no two visible controls overlap (a frame and
// what stands inside it excepted) and that every caption is shown whole.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace qv::testing {

// The controls placed directly on `client` that are shown.
inline std::vector<QWidget*> ShownControls(QWidget* client) {
  std::vector<QWidget*> shown;
  for (QObject* child : client->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w != nullptr && w->isVisibleTo(client) && !w->objectName().isEmpty()) shown.push_back(w);
  }
  return shown;
}

// No two shown controls of `client` overlap, except a frame and the controls inside it.
inline void ExpectNoOverlap(QWidget* client) {
  const std::vector<QWidget*> shown = ShownControls(client);
  for (std::size_t a = 0; a < shown.size(); ++a)
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      const QRect ra = shown[a]->geometry();
      const QRect rb = shown[b]->geometry();
      if (!ra.intersects(rb)) continue;
      const bool framed = (qobject_cast<QGroupBox*>(shown[a]) && ra.contains(rb)) ||
                          (qobject_cast<QGroupBox*>(shown[b]) && rb.contains(ra));
      EXPECT_TRUE(framed) << shown[a]->objectName().toStdString() << " overlaps "
                          << shown[b]->objectName().toStdString();
    }
  for (QWidget* w : shown)
    EXPECT_TRUE(client->rect().contains(w->geometry())) << w->objectName().toStdString();
}

// Every label's and button's caption fits its control.
inline void ExpectWholeCaptions(QWidget* client) {
  for (QWidget* w : ShownControls(client)) {
    QString text;
    int room = w->width();
    if (auto* label = qobject_cast<QLabel*>(w)) {
      text = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      text = button->text();
      // Check boxes and option buttons draw their indicator before the text.
      room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8;
    } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
      text = frame->title();
      room -= 16;
    }
    if (text.isEmpty()) continue;
    EXPECT_LE(w->fontMetrics().horizontalAdvance(text), room)
        << w->objectName().toStdString() << " cuts \"" << text.toStdString() << "\"";
  }
}

}  // namespace qv::testing
