#include "ui/toolkit/attributes.h"

namespace forge::ui {

namespace {

std::optional<std::vector<int>> ParseNumbers(QStringView text, qsizetype count) {
  const auto parts = text.split(u',');
  if (parts.size() != count) return std::nullopt;
  std::vector<int> numbers;
  for (const auto& part : parts) {
    bool ok = false;
    const int value = part.trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    numbers.push_back(value);
  }
  return numbers;
}

}  // namespace

std::optional<AttributeList> ParseAttributeList(QStringView text) {
  AttributeList result;
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (true) {
    while (i < n && text[i].isSpace()) ++i;
    if (i == n) return result;
    const qsizetype nameStart = i;
    while (i < n && text[i] != u'=' && !text[i].isSpace()) ++i;
    const QString name = text.mid(nameStart, i - nameStart).toString();
    while (i < n && text[i].isSpace()) ++i;
    if (name.isEmpty() || i == n || text[i] != u'=') return std::nullopt;
    ++i;
    while (i < n && text[i].isSpace()) ++i;
    if (i == n || (text[i] != u'"' && text[i] != u'\'')) return std::nullopt;
    const QChar quote = text[i++];
    const qsizetype valueStart = i;
    while (i < n && text[i] != quote) ++i;
    if (i == n) return std::nullopt;
    result.emplace_back(name, text.mid(valueStart, i - valueStart).toString());
    ++i;
  }
}

std::optional<QMargins> ParseEdges(QStringView text) {
  const auto numbers = ParseNumbers(text, 4);
  if (!numbers) return std::nullopt;
  return QMargins((*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]);
}

std::optional<QSize> ParseSize(QStringView text) {
  const auto numbers = ParseNumbers(text, 2);
  if (!numbers) return std::nullopt;
  return QSize((*numbers)[0], (*numbers)[1]);
}

std::optional<QColor> ParseColor(QStringView text) {
  text = text.trimmed();
  QStringView digits;
  if (text.startsWith(u'#')) {
    digits = text.mid(1);
  } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
    digits = text.mid(2);
  } else {
    return std::nullopt;
  }
  if (digits.size() != 6 && digits.size() != 8) return std::nullopt;
  bool ok = false;
  const uint value = digits.toUInt(&ok, 16);
  if (!ok) return std::nullopt;
  QColor color = QColor::fromRgba(digits.size() == 6 ? (0xFF000000u | value) : value);
  return color;
}

std::optional<bool> ParseBool(QStringView text) {
  if (text.compare(u"true", Qt::CaseInsensitive) == 0) return true;
  if (text.compare(u"false", Qt::CaseInsensitive) == 0) return false;
  return std::nullopt;
}

std::optional<int> ParseInt(QStringView text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<Qt::Alignment> ParseHorizontalAlign(QStringView text) {
  if (text == u"left") return Qt::AlignLeft;
  if (text == u"center") return Qt::AlignHCenter;
  if (text == u"right") return Qt::AlignRight;
  return std::nullopt;
}

std::optional<Qt::Alignment> ParseVerticalAlign(QStringView text) {
  if (text == u"top") return Qt::AlignTop;
  if (text == u"vcenter" || text == u"center") return Qt::AlignVCenter;
  if (text == u"bottom") return Qt::AlignBottom;
  return std::nullopt;
}

namespace {

template <class T, class Parse>
bool ReadInto(QStringView text, T& target, Parse parse) {
  const auto parsed = parse(text);
  if (parsed) target = *parsed;
  return parsed.has_value();
}

bool ReadAlign(QStringView text, Qt::Alignment& target, Qt::Alignment part,
               std::optional<Qt::Alignment> (*parse)(QStringView)) {
  const auto parsed = parse(text);
  if (parsed) target = (target & ~part) | *parsed;
  return parsed.has_value();
}

}  // namespace

bool ReadColor(QStringView text, QColor& target) { return ReadInto(text, target, ParseColor); }
bool ReadInt(QStringView text, int& target) { return ReadInto(text, target, ParseInt); }
bool ReadBool(QStringView text, bool& target) { return ReadInto(text, target, ParseBool); }
bool ReadEdges(QStringView text, QMargins& target) { return ReadInto(text, target, ParseEdges); }

bool ReadHorizontalAlign(QStringView text, Qt::Alignment& target) {
  return ReadAlign(text, target, Qt::AlignHorizontal_Mask, ParseHorizontalAlign);
}

bool ReadVerticalAlign(QStringView text, Qt::Alignment& target) {
  return ReadAlign(text, target, Qt::AlignVertical_Mask, ParseVerticalAlign);
}

}  // namespace forge::ui
