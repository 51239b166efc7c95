// Creates the main window's controls from its layout table.
#include "app/Form1.h"
#include "resource.h"

namespace {

enum LayoutFlags : unsigned {
    NONE = 0,
    HIDDEN = 1u << 0,
    DISABLED = 1u << 1,
    CHECKED = 1u << 2,
    GROUP = 1u << 3,
    WIDE = 1u << 4,
    CENTER = 1u << 5,
    WRAP = 1u << 6,
    FILEEDIT = 1u << 7,
    DROPLIST = 1u << 8,
};

// One overload per kind of control: the member's type picks it.
bool Make(ui::Panel& c, ui::Container& p, int id, const ui::Rect& r, unsigned) {
    return c.Create(p, id, r, true);
}
bool Make(ui::Label& c, ui::Container& p, int id, const ui::Rect& r, unsigned f) {
    return c.Create(p, id, r, {}, (f & CENTER) ? ui::Label::Align::Center : ui::Label::Align::Left, (f & WRAP) != 0);
}
bool Make(ui::Button& c, ui::Container& p, int id, const ui::Rect& r, unsigned) { return c.Create(p, id, r); }
bool Make(ui::CheckBox& c, ui::Container& p, int id, const ui::Rect& r, unsigned f) {
    return c.Create(p, id, r, {}, (f & WIDE) != 0);
}
bool Make(ui::RadioButton& c, ui::Container& p, int id, const ui::Rect& r, unsigned f) {
    return c.Create(p, id, r, {}, (f & GROUP) != 0, (f & WIDE) != 0);
}
bool Make(ui::PathEdit& c, ui::Container& p, int id, const ui::Rect& r, unsigned f) {
    return c.Create(p, id, r, (f & FILEEDIT) ? ui::PathEdit::Kind::File : ui::PathEdit::Kind::Folder);
}
bool Make(ui::ComboBox& c, ui::Container& p, int id, const ui::Rect& r, unsigned f) {
    return c.Create(p, id, r, (f & DROPLIST) ? ui::ComboBox::Style::DropDownList : ui::ComboBox::Style::DropDown);
}
bool Make(ui::ListBox& c, ui::Container& p, int id, const ui::Rect& r, unsigned f) {
    return c.Create(p, id, r, !(f & HIDDEN));
}
bool Make(ui::CheckListBox& c, ui::Container& p, int id, const ui::Rect& r, unsigned) { return c.Create(p, id, r); }
bool Make(ui::LineList& c, ui::Container& p, int id, const ui::Rect& r, unsigned f) {
    return c.Create(p, id, r, !(f & HIDDEN));
}
bool Make(ui::LogList& c, ui::Container& p, int id, const ui::Rect& r, unsigned) { return c.Create(p, id, r); }
bool Make(ui::ProgressBar& c, ui::Container& p, int id, const ui::Rect& r, unsigned) { return c.Create(p, id, r); }
bool Make(ui::PageControl& c, ui::Container& p, int id, const ui::Rect& r, unsigned) { return c.Create(p, id, r); }
bool Make(ui::Picture& c, ui::Container& p, int id, const ui::Rect& r, unsigned) { return c.Create(p, id, r); }

// The state at start; set before any handler is bound, so none runs.
void Apply(ui::Control& c, unsigned f) {
    if (f & HIDDEN) c.Hide();
    if (f & DISABLED) c.SetEnabled(false);
}
void Apply(ui::CheckBox& c, unsigned f) {
    Apply(static_cast<ui::Control&>(c), f);
    if (f & CHECKED) c.SetChecked(true);
}
void Apply(ui::RadioButton& c, unsigned f) {
    Apply(static_cast<ui::Control&>(c), f);
    if (f & CHECKED) c.SetChecked(true);
}

}  // namespace

bool TForm1::CreateControls() {
    ui::Container& MainForm = *this;
    bool ok = true;
#define CONTROL(name, parent, x, y, w, h, flags)                         \
    ok = Make(name, parent, IDC_##name, ui::Rect{x, y, w, h}, flags) && ok; \
    Apply(name, flags);
#define PICTURE(name, parent, x, y, w, h, flags, bitmap)                 \
    CONTROL(name, parent, x, y, w, h, flags)                             \
    if (bitmap) name.LoadResource(bitmap);
#define SHEET(name, pages) ok = pages.AddSheet(name, IDC_##name, {}) && ok;
#include "layout/MainWindow.inc"
#undef CONTROL
#undef PICTURE
#undef SHEET
    return ok;
}
