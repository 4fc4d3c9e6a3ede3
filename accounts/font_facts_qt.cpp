#include "accounts/font_facts_qt.h"

#include <QFontDatabase>
#include <QList>
#include <QStringList>
#include <algorithm>

namespace qv {
namespace {

// The character sets that stand for a writing system. Latin text is one writing system to
// the font system, and Unicode fonts draw all of it: a Latin font covers the Western,
// Baltic, Central European and Turkish sets alike.
std::vector<int16_t> CharsetsOf(QFontDatabase::WritingSystem system) {
  switch (system) {
    case QFontDatabase::Latin: return {0, 186, 238, 162};
    case QFontDatabase::Arabic: return {178};
    case QFontDatabase::Cyrillic: return {204};
    case QFontDatabase::SimplifiedChinese: return {134};
    case QFontDatabase::TraditionalChinese: return {136};
    case QFontDatabase::Greek: return {161};
    case QFontDatabase::Hebrew: return {177};
    case QFontDatabase::Japanese: return {128};
    case QFontDatabase::Korean: return {129};
    case QFontDatabase::Vietnamese: return {163};
    case QFontDatabase::Thai: return {222};
    default: return {};
  }
}

bool ShowsAtNinePoints(const QString& family) {
  if (QFontDatabase::isScalable(family)) return true;
  const QList<int> sizes = QFontDatabase::pointSizes(family);
  return std::any_of(sizes.begin(), sizes.end(), [](int size) { return size <= 9; });
}

}  // namespace

std::vector<FontFacts> ScreenFonts() {
  std::vector<FontFacts> fonts;
  for (const QString& family : QFontDatabase::families()) {
    FontFacts facts;
    facts.Name = family.toStdString();
    facts.ShowsAtNinePoints = ShowsAtNinePoints(family);
    bool symbol = false;
    for (const QFontDatabase::WritingSystem system : QFontDatabase::writingSystems(family)) {
      if (system == QFontDatabase::Symbol) symbol = true;
      for (const int16_t set : CharsetsOf(system)) facts.Charsets.push_back(set);
    }
    // A symbol font draws no script's letters.
    facts.Symbol = symbol && facts.Charsets.empty();
    fonts.push_back(std::move(facts));
  }
  return fonts;
}

}  // namespace qv
