// Thin wrappers over the Win32 controls of the program's windows.
//
// Every control is created into a Container (a form, a panel or a tab sheet). A container's
// window procedure hands the notifications of its children (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_CTLCOLOR*, WM_VKEYTOITEM) back to the child's own object, found through
// the child window's GWLP_USERDATA, so each control turns them into its one callback slot.
// No application logic lives here.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>
#include "win/Handles.h"

namespace ui {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

class Container;

class Control {
public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return wnd_.get(); }
    int id() const;
    static Control* FromHandle(HWND w);

    // Visible and Enabled are the control's own state, whatever its parent's.
    void SetVisible(bool visible);
    bool Visible() const;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void SetEnabled(bool enabled);
    bool Enabled() const;
    virtual void SetText(const std::string& text);
    virtual std::string Text() const;
    void SetFont(HFONT font);
    // Paints the control at once (invalidate, erase, update).
    void Repaint();
    void SetBounds(const Rect& r);
    Rect Bounds() const;  // relative to the parent's client area

    // Reflected notifications; a control overrides the ones it needs.
    virtual void OnCommand(int /*code*/) {}
    virtual bool OnNotify(NMHDR* /*hdr*/, LRESULT& /*result*/) { return false; }
    virtual bool OnDrawItem(DRAWITEMSTRUCT* /*dis*/) { return false; }
    virtual bool OnMeasureItem(MEASUREITEMSTRUCT* /*mis*/) { return false; }
    // Returns a brush for WM_CTLCOLOR*, or null for the default colours.
    virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }
    virtual int OnVKeyToItem(int /*vk*/, int /*caret*/) { return -1; }

protected:
    // Creates the window as a child of parent and ties it to this object.
    bool CreateChild(Container& parent, int id, const char* className, DWORD style,
                     DWORD exStyle, const Rect& r, const std::string& text = {},
                     bool unicode = false);
    // For windows made elsewhere (forms, containers).
    void Attach(HWND w);

    win::UniqueWindow wnd_;
    bool unicode_ = false;
};

// A window that hosts controls and reflects their notifications to them.
class Container : public Control {
public:
    // Handles the reflected messages; true when it did.
    static bool Reflect(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Background brush used for the container and transparent children; null: system colour.
    void SetBackground(COLORREF colour);
    HBRUSH BackgroundBrush() const { return background_.get(); }

protected:
    win::UniqueBrush background_;
};

// A plain child container (a panel, or a group box that holds controls when framed).
class Panel : public Container {
public:
    bool Create(Container& parent, int id, const Rect& r, bool framed = false,
                const std::string& caption = {});
};

class Label : public Control {
public:
    enum class Align { Left, Center, Right };
    bool Create(Container& parent, int id, const Rect& r, const std::string& text = {},
                Align align = Align::Left, bool wordWrap = false);
    void SetTextColor(COLORREF colour);
    // Draws on the parent's background (for pictures behind the text).
    void SetTransparent(bool transparent);
    // A hand cursor over the label (links).
    void SetHandCursor(bool hand);
    std::function<void()> onClick;

    void OnCommand(int code) override;
    HBRUSH OnCtlColor(HDC dc) override;

private:
    COLORREF colour_ = CLR_INVALID;
    bool transparent_ = false;
};

class Button : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r, const std::string& text = {});
    void Click();  // as if the user clicked it (nothing happens while disabled)
    std::function<void()> onClick;
    void OnCommand(int code) override;
};

// Auto check box. SetChecked fires onClick when the state changes, like a click does.
class CheckBox : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r, const std::string& text = {},
                bool unicode = false);
    bool Checked() const;
    void SetChecked(bool checked);
    std::function<void()> onClick;
    void OnCommand(int code) override;
    void SetText(const std::string& text) override;  // ANSI text, converted for a Unicode control
};

// Auto radio button; groupStart begins a new group of the parent.
// SetChecked(true) fires onClick when the button was not checked.
class RadioButton : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r, const std::string& text = {},
                bool groupStart = false, bool unicode = false);
    bool Checked() const;
    void SetChecked(bool checked);
    std::function<void()> onClick;
    void OnCommand(int code) override;
    void SetText(const std::string& text) override;
};

// Single-line edit. onChange runs only when the text really changes, whether the user typed
// it or code set it; SetText with the text the edit already holds runs nothing.
class Edit : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r);
    void SetText(const std::string& text) override;
    std::string Text() const override;
    void SetReadOnly(bool readOnly);
    std::function<void()> onChange;
    void OnCommand(int code) override;

private:
    std::string last_;
};

// An edit with a browse button at its right end; the button asks the dialog service for a
// folder or a file and writes the answer into the edit (which runs onChange when it differs).
// The button's control ID is the edit's plus kBrowseIdOffset.
class PathEdit : public Edit {
public:
    enum class Kind { Folder, File };
    static constexpr int kBrowseIdOffset = 5000;
    bool Create(Container& parent, int id, const Rect& r, Kind kind);
    void SetFilter(const std::string& filter);  // file kind: "Name (*.x)|*.x"
    void SetDialogTitle(const std::string& title);
    Button& BrowseButton() { return browse_; }
    void Browse();

private:
    Kind kind_ = Kind::Folder;
    std::string filter_, title_;
    Button browse_;
};

// Combo box: a drop-down list (no typing) or a drop-down with an edit field that can be made
// read-only. onSelect runs when the user picks an item.
class ComboBox : public Control {
public:
    enum class Style { DropDown, DropDownList };
    bool Create(Container& parent, int id, const Rect& r, Style style);
    void Clear();
    int AddItem(const std::string& text);
    int Count() const;
    std::string Item(int index) const;
    void SetItem(int index, const std::string& text);  // keeps the selection
    int ItemIndex() const;
    void SetItemIndex(int index);
    // DropDown: selects the item of that exact text when there is one, else writes the edit
    // field; DropDownList: selects the item of that text. Runs no callback.
    void SetText(const std::string& text) override;
    std::string Text() const override;
    void SetEditReadOnly(bool readOnly);  // EM_SETREADONLY to the child edit window
    HWND EditWindow() const;
    std::function<void()> onSelect;
    void OnCommand(int code) override;
};

// List box of text lines; the hidden data lists of the main window are list boxes too.
class ListBox : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r, bool visible = true);
    void Clear();
    int AddItem(const std::string& text);
    void InsertItem(int index, const std::string& text);
    void DeleteItem(int index);
    void SetItem(int index, const std::string& text);
    int Count() const;
    std::string Item(int index) const;
    std::vector<std::string> Items() const;
    int IndexOf(const std::string& text) const;  // exact, case-sensitive; -1 when absent
    int ItemIndex() const;                       // the caret (current) item
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetHorizontalExtent(int pixels);
    // A key pressed in the list, with its virtual-key code; the key goes on as usual.
    std::function<void(int vk)> onKeyDown;
    int OnVKeyToItem(int vk, int caret) override;

protected:
    bool CreateWithStyle(Container& parent, int id, const Rect& r, DWORD extraStyle, bool visible);
};

// List box whose items carry a check mark; a click on the mark or the space bar toggles it.
class CheckListBox : public ListBox {
public:
    bool Create(Container& parent, int id, const Rect& r);
    int AddItem(const std::string& text, bool checked = false);
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    void SetText(const std::string&) override {}
    bool OnDrawItem(DRAWITEMSTRUCT* dis) override;
    int OnVKeyToItem(int vk, int caret) override;
    // Toggles the item under a client point when the point is on its mark.
    void ClickAt(POINT client);
};

// Static picture. Owns the bitmap it was given.
class Picture : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r);
    bool LoadResource(int bitmapId);  // a BITMAP resource of the module
    void SetBitmap(win::UniqueBitmap bitmap);
    HBITMAP Bitmap() const { return bitmap_.get(); }
    void SetHandCursor(bool hand);
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    void OnCommand(int code) override;

private:
    win::UniqueBitmap bitmap_;
};

class TabSheet;

// Tab control whose pages are TabSheet containers.
class PageControl : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r);
    // Adds a page; the sheet is created as a container filling the display area.
    bool AddSheet(TabSheet& sheet, int sheetId, const std::string& caption);
    void SetActivePage(TabSheet& sheet);
    TabSheet* ActivePage() const;
    int PageCount() const { return static_cast<int>(sheets_.size()); }
    TabSheet& Page(int index) const { return *sheets_[index]; }
    std::function<void()> onChange;  // after the user clicked a tab
    bool OnNotify(NMHDR* hdr, LRESULT& result) override;

private:
    std::vector<TabSheet*> sheets_;
    void ShowIndex(int index);
};

class TabSheet : public Container {
public:
    void SetCaption(const std::string& caption);
    std::string Caption() const;
    PageControl* Owner() const { return owner_; }
    int PageIndex() const { return index_; }

private:
    friend class PageControl;
    PageControl* owner_ = nullptr;
    int index_ = -1;
};

class ProgressBar : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r);
    void SetPosition(int position);  // 0..100
    int Position() const;
};

// Log list: one 16x16 picture and one text per line. The pictures are not owned.
class LogList : public ListBox {
public:
    bool Create(Container& parent, int id, const Rect& r);
    int AddLine(const std::string& text, HBITMAP picture);
    HBITMAP LinePicture(int index) const;
    void SelectLast();
    bool OnDrawItem(DRAWITEMSTRUCT* dis) override;
};

// Endless moving bar drawn from its own timer thread: every RefreshInterval ms the thread
// hands a frame to the interface thread, which paints it; after Length ms a run ends and
// onEnded is called on the interface thread.
class WaitingBar : public Control {
public:
    WaitingBar();
    ~WaitingBar() override;
    bool Create(Container& parent, int id, const Rect& r);
    void SetLength(int ms);
    void SetRefreshInterval(int ms);
    void SetColour(COLORREF colour);
    void SetActive(bool active);
    bool Active() const;
    int Frame() const;  // frames painted in the current run
    std::function<void()> onEnded;

private:
    struct Impl;
    Impl* impl_;
};

}  // namespace ui
