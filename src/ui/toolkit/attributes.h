// Parsing of the attribute values the layouts use: attribute lists, four-number edges, sizes,
// colours and flags. Each parser answers nothing for text it cannot read.
#pragma once

#include <QColor>
#include <QMargins>
#include <QSize>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

namespace forge::ui {

using AttributeList = std::vector<std::pair<QString, QString>>;

// `name="value" other='value'`: pairs in their order; values in double or single quotes.
std::optional<AttributeList> ParseAttributeList(QStringView text);

// "left,top,right,bottom" (four integers; blanks allowed around them).
std::optional<QMargins> ParseEdges(QStringView text);
// "width,height".
std::optional<QSize> ParseSize(QStringView text);
// "#AARRGGBB", "#RRGGBB" (opaque) or "0xAARRGGBB".
std::optional<QColor> ParseColor(QStringView text);
// "true" or "false".
std::optional<bool> ParseBool(QStringView text);
std::optional<int> ParseInt(QStringView text);
// "left", "center", "right".
std::optional<Qt::Alignment> ParseHorizontalAlign(QStringView text);
// "top", "vcenter" (or "center"), "bottom".
std::optional<Qt::Alignment> ParseVerticalAlign(QStringView text);

// The same for the attribute setters: the value goes into `target`, which an unreadable text
// leaves as it was; the answer tells which happened.
bool ReadColor(QStringView text, QColor& target);
bool ReadInt(QStringView text, int& target);
bool ReadBool(QStringView text, bool& target);
bool ReadEdges(QStringView text, QMargins& target);
// Replaces the horizontal or the vertical part of `target`.
bool ReadHorizontalAlign(QStringView text, Qt::Alignment& target);
bool ReadVerticalAlign(QStringView text, Qt::Alignment& target);

}  // namespace forge::ui
