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

}  // namespace forge::ui
