// Containers: controls that hold and place other controls.
//
//   ContainerUI         holds controls; each control sits where its "pos" puts it.
//   VerticalLayoutUI    stacks its visible controls top to bottom.
//   HorizontalLayoutUI  places them left to right.
//   TabLayoutUI         shows one of them at a time, filling the container.
//
// In a vertical layout, controls with a "height" get it; the others share the height that is
// left, within their minimum and maximum. Widths are the container's unless a control has a
// "width", which is then placed by "childalign" (left, center, right). A horizontal layout
// does the same across (its cross alignment is "childvalign": top, vcenter, bottom). Every
// control's "padding" adds room around it; "inset" keeps room inside the container's edges and
// "childpadding" between neighbours. Floating controls ("float") are placed at their "pos".
//
// Ownership: a container owns its controls (Qt parent). UI thread only.
#pragma once

#include <vector>

#include "ui/toolkit/control.h"

namespace forge::ui {

// Gives a control its rectangle and, for a container, places its controls at once (Qt delays
// resize events of hidden widgets, and layouts must be right before a window is first shown).
void PlaceControl(ControlUI* control, const QRect& geometry);

class ContainerUI : public ControlUI {
 public:
  explicit ContainerUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("ContainerUI"); }

  // Takes the control (becomes its parent) and places it after the others, or at `index`.
  virtual bool Add(ControlUI* control);
  virtual bool AddAt(ControlUI* control, int index);
  // Removes and destroys the control.
  virtual bool Remove(ControlUI* control);
  virtual void RemoveAll();
  int Count() const { return static_cast<int>(items_.size()); }
  ControlUI* ItemAt(int index) const;
  int IndexOf(const ControlUI* control) const;

  QMargins Inset() const { return inset_; }
  int ChildPadding() const { return childPadding_; }

  bool SetAttribute(const QString& name, const QString& value) override;

  // Places the controls in the current rectangle.
  virtual void Arrange();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  QRect ContentRect() const { return rect().marginsRemoved(inset_); }
  void PlaceFloating(ControlUI* control);
  // Places the controls in a column (vertical) or a row, as described above.
  void ArrangeInLine(bool vertical);
  // Visible controls that the layout places (not floating).
  std::vector<ControlUI*> PlacedItems() const;

  std::vector<ControlUI*> items_;
  QMargins inset_;
  int childPadding_ = 0;
  Qt::Alignment childAlign_ = Qt::AlignLeft | Qt::AlignTop;
};

class VerticalLayoutUI : public ContainerUI {
 public:
  using ContainerUI::ContainerUI;
  QString GetClass() const override { return QStringLiteral("VerticalLayoutUI"); }
  void Arrange() override;
};

class HorizontalLayoutUI : public ContainerUI {
 public:
  using ContainerUI::ContainerUI;
  QString GetClass() const override { return QStringLiteral("HorizontalLayoutUI"); }
  void Arrange() override;
};

class TabLayoutUI : public ContainerUI {
 public:
  using ContainerUI::ContainerUI;
  QString GetClass() const override { return QStringLiteral("TabLayoutUI"); }

  int CurrentIndex() const { return current_; }
  // Shows the control at `index` and hides the others; false for an index out of range.
  bool SelectItem(int index);
  bool SetAttribute(const QString& name, const QString& value) override;
  bool Add(ControlUI* control) override;
  bool AddAt(ControlUI* control, int index) override;
  void Arrange() override;

 private:
  int current_ = 0;
};

}  // namespace forge::ui
