// The link between a control and the backend widget that shows it.
#pragma once

namespace xp::ui {

// What part of a control's state changed. The peer reads the new state from the control itself;
// `index` names the item, column, tab or child concerned where the change is about one of them.
enum class Change {
    Geometry,
    Visible,
    Enabled,
    Caption,
    Text,
    Font,
    Colors,
    Cursor,
    Focus,
    Style,  // a kind-specific look: multi-line, password, fit mode, border, view mode, alignment...
    Picture,
    Items,         // the whole item list was replaced or emptied
    ItemInserted,  // index = the new item
    ItemRemoved,   // index = where the item was
    ItemChanged,   // index = the item whose caption, image, cells or check mark changed
    Selection,
    Checked,
    Columns,
    ImageList,
    Range,
    Position,
    Tabs,  // index = the tab whose caption or availability changed, -1 for all
    CurrentTab,
    Drawings,
    Interval,
    Content,     // a grid's cells or page settings
    ChildAdded,  // index = position of the new child in the container's children
    Parent,      // a window was made the child of another window
    WindowState  // minimised or restored
};

// Backends derive one peer per control kind. A peer never changes the control's state on its own
// initiative except through the control's user-action methods (click(), setText(), pickItem()...).
class Peer {
public:
    virtual ~Peer() = default;
    virtual void sync(Change change, int index) = 0;
};

}  // namespace xp::ui
