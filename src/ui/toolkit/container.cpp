#include "ui/toolkit/container.h"

#include <QResizeEvent>
#include <algorithm>

#include "ui/toolkit/attributes.h"

namespace forge::ui {

namespace {

// Sizes along the layout's direction: fixed ones as given, flexible ones sharing `room` within
// their limits (a flexible control held at a limit leaves the rest to the others).
std::vector<int> ShareSpace(const std::vector<int>& fixed, const std::vector<int>& minimum,
                            const std::vector<int>& maximum, int room) {
  const size_t count = fixed.size();
  std::vector<int> sizes(count, 0);
  std::vector<bool> settled(count, false);
  for (size_t i = 0; i < count; ++i) {
    if (fixed[i] > 0) {
      sizes[i] = fixed[i];
      settled[i] = true;
      room -= fixed[i];
    }
  }
  for (bool changed = true; changed;) {
    changed = false;
    int open = 0;
    for (size_t i = 0; i < count; ++i) open += settled[i] ? 0 : 1;
    if (open == 0) break;
    const int share = std::max(0, room) / open;
    for (size_t i = 0; i < count; ++i) {
      if (settled[i]) continue;
      const int limited = std::clamp(share, minimum[i], std::max(minimum[i], maximum[i]));
      if (limited != share) {
        sizes[i] = limited;
        settled[i] = true;
        room -= limited;
        changed = true;
      }
    }
    if (!changed) {
      // Everyone left takes the share; the last one also takes what division left over.
      int last = -1;
      for (size_t i = 0; i < count; ++i) {
        if (settled[i]) continue;
        sizes[i] = share;
        last = static_cast<int>(i);
      }
      if (last >= 0) sizes[last] += std::max(0, room) - share * open;
    }
  }
  return sizes;
}

// Position and size across the layout's direction.
std::pair<int, int> PlaceAcross(int start, int extent, int before, int after, int fixed,
                                int minimum, int maximum, Qt::Alignment align, bool vertical) {
  const int room = std::max(0, extent - before - after);
  int size = fixed > 0 ? std::min(fixed, room) : room;
  size = std::clamp(size, minimum, std::max(minimum, maximum));
  int offset = 0;
  const bool centre = vertical ? (align & Qt::AlignHCenter) : (align & Qt::AlignVCenter);
  const bool end = vertical ? (align & Qt::AlignRight) : (align & Qt::AlignBottom);
  if (centre) offset = (room - size) / 2;
  if (end) offset = room - size;
  return {start + before + std::max(0, offset), size};
}

}  // namespace

void PlaceControl(ControlUI* control, const QRect& geometry) {
  control->setGeometry(geometry);
  if (auto* container = dynamic_cast<ContainerUI*>(control)) container->Arrange();
}

ContainerUI::ContainerUI(QWidget* parent) : ControlUI(parent) {}

bool ContainerUI::Add(ControlUI* control) { return AddAt(control, Count()); }

bool ContainerUI::AddAt(ControlUI* control, int index) {
  if (!control || index < 0 || index > Count()) return false;
  control->setParent(this);
  items_.insert(items_.begin() + index, control);
  control->setVisible(control->IsVisible());
  Arrange();
  return true;
}

bool ContainerUI::Remove(ControlUI* control) {
  const int index = IndexOf(control);
  if (index < 0) return false;
  items_.erase(items_.begin() + index);
  delete control;
  Arrange();
  return true;
}

void ContainerUI::RemoveAll() {
  auto items = std::move(items_);
  items_.clear();
  for (auto* control : items) delete control;
  Arrange();
}

ControlUI* ContainerUI::ItemAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

int ContainerUI::IndexOf(const ControlUI* control) const {
  const auto found = std::find(items_.begin(), items_.end(), control);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool ContainerUI::SetAttribute(const QString& name, const QString& value) {
  bool ok = true;
  if (name == u"inset") {
    ok = ReadEdges(value, inset_);
  } else if (name == u"childpadding") {
    ok = ReadInt(value, childPadding_);
  } else if (name == u"childalign") {
    ok = ReadHorizontalAlign(value, childAlign_);
  } else if (name == u"childvalign") {
    ok = ReadVerticalAlign(value, childAlign_);
  } else {
    return ControlUI::SetAttribute(name, value);
  }
  Arrange();
  return ok;
}

void ContainerUI::Arrange() {
  for (auto* control : items_) {
    if (control->IsVisible()) PlaceFloating(control);
  }
}

void ContainerUI::resizeEvent(QResizeEvent* event) {
  ControlUI::resizeEvent(event);
  Arrange();
}

void ContainerUI::PlaceFloating(ControlUI* control) {
  const QRect pos = control->Layout().pos;
  PlaceControl(control, pos.isValid() ? pos : QRect(QPoint(0, 0), size()));
}

std::vector<ControlUI*> ContainerUI::PlacedItems() const {
  std::vector<ControlUI*> placed;
  for (auto* control : items_) {
    if (!control->IsVisible()) continue;
    if (control->Layout().floating) {
      const_cast<ContainerUI*>(this)->PlaceFloating(control);
      continue;
    }
    placed.push_back(control);
  }
  return placed;
}

void ContainerUI::ArrangeInLine(bool vertical) {
  const QRect area = ContentRect();
  const auto items = PlacedItems();
  if (items.empty()) return;
  // Along the line: "main"; across it: "cross".
  const auto mainStart = [vertical](const QRect& r) { return vertical ? r.top() : r.left(); };
  const auto mainExtent = [vertical](const QRect& r) { return vertical ? r.height() : r.width(); };
  std::vector<int> fixed, minimum, maximum;
  int room = mainExtent(area) - childPadding_ * static_cast<int>(items.size() - 1);
  for (auto* control : items) {
    const auto& props = control->Layout();
    fixed.push_back(vertical ? props.height : props.width);
    minimum.push_back(vertical ? props.minHeight : props.minWidth);
    maximum.push_back(vertical ? props.maxHeight : props.maxWidth);
    room -= vertical ? props.padding.top() + props.padding.bottom()
                     : props.padding.left() + props.padding.right();
  }
  const auto sizes = ShareSpace(fixed, minimum, maximum, room);
  int position = mainStart(area);
  for (size_t i = 0; i < items.size(); ++i) {
    const auto& props = items[i]->Layout();
    const QMargins& pad = props.padding;
    const auto [crossStart, crossSize] =
        vertical ? PlaceAcross(area.left(), area.width(), pad.left(), pad.right(), props.width,
                               props.minWidth, props.maxWidth, childAlign_, true)
                 : PlaceAcross(area.top(), area.height(), pad.top(), pad.bottom(), props.height,
                               props.minHeight, props.maxHeight, childAlign_, false);
    position += vertical ? pad.top() : pad.left();
    PlaceControl(items[i], vertical ? QRect(crossStart, position, crossSize, sizes[i])
                                    : QRect(position, crossStart, sizes[i], crossSize));
    position += sizes[i] + (vertical ? pad.bottom() : pad.right()) + childPadding_;
  }
}

void VerticalLayoutUI::Arrange() { ArrangeInLine(true); }

void HorizontalLayoutUI::Arrange() { ArrangeInLine(false); }

bool TabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= Count()) return false;
  current_ = index;
  for (int i = 0; i < Count(); ++i) ItemAt(i)->SetVisible(i == index);
  Arrange();
  return true;
}

bool TabLayoutUI::SetAttribute(const QString& name, const QString& value) {
  if (name == u"selectedid") {
    if (!ReadInt(value, current_)) return false;
    for (int i = 0; i < Count(); ++i) ItemAt(i)->SetVisible(i == current_);
    return true;
  }
  return ContainerUI::SetAttribute(name, value);
}

bool TabLayoutUI::Add(ControlUI* control) { return AddAt(control, Count()); }

bool TabLayoutUI::AddAt(ControlUI* control, int index) {
  if (!ContainerUI::AddAt(control, index)) return false;
  for (int i = 0; i < Count(); ++i) ItemAt(i)->SetVisible(i == current_);
  return true;
}

void TabLayoutUI::Arrange() {
  const QRect area = ContentRect();
  for (auto* control : items_) {
    if (!control->IsVisible()) continue;
    if (control->Layout().floating) {
      PlaceFloating(control);
    } else {
      PlaceControl(control, area.marginsRemoved(control->Layout().padding));
    }
  }
}

}  // namespace forge::ui
