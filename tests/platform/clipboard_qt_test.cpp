#include "platform/clipboard_qt.h"
#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qv {
namespace {

TEST(ClipboardQt, PlainTextRoundTripsInUtf8AndRtfGoesUnderBothNamesUntilTheNextCopy) {
  const std::string entry = "110\t\tCaisse \xE2\x82\xAC\t12.50\tCaf\xC3\xA9\r\nQV";
  SetClipboardText(entry);
  EXPECT_EQ(ClipboardText(), entry);
  const std::string rtf = "{\\rtf1\\ansi Trial Balance\\par}";
  SetClipboardTextAndRtf("Trial Balance", rtf);
  EXPECT_EQ(ClipboardText(), "Trial Balance");
  EXPECT_EQ(ClipboardRtf(), rtf);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->hasFormat("text/rtf") && data->hasFormat("text/richtext"));
  SetClipboardText("plain");
  EXPECT_EQ(ClipboardRtf(), "");
}

}  // namespace
}  // namespace qv
