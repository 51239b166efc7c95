// Thin wrappers over the Win32 controls of the program's windows.
//
// Every control is created into a Container (a form, a panel or a tab sheet). A container's
// window procedure hands the notifications of its children (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_VKEYTOITEM) back to the child's own object,
// found through a property of the child window, so each control turns them into its one
// callback slot. No application logic lives here.
//
// Fonts follow the parent: a control takes its parent's font when it is created and whenever
// the parent's font changes, until it is given a font of its own with SetFont.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>
#include "ui/LineStore.h"
#include "win/Handles.h"

namespace ui {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

class Container;

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return wnd_.get(); }
    int id() const;
    static Control* FromHandle(HWND w);

    // Visible and Enabled are the control's own state, whatever its parent's.
    virtual void SetVisible(bool visible);
    bool Visible() const;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    virtual void SetEnabled(bool enabled);
    bool Enabled() const;
    // Gives the control the keyboard focus as Tab does: a push button becomes its window's
    // default button, which Enter presses. Nothing while the window is not shown.
    void Focus() { GiveFocus(hwnd()); }
    virtual void SetText(const std::string& text);
    virtual std::string Text() const;
    // The control's own font (not owned); its children without a font of their own follow it.
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    // Paints the control at once (invalidate, erase, update); while paced, with the next frame.
    void Repaint();
    // Paced painting, for controls that change hundreds of times a second (a job's log and
    // caption): every change is made at once, but the screen follows in frames, at most one
    // every kPaceInterval ms for all paced controls together. Turning it off paints what is
    // still pending.
    static constexpr DWORD kPaceInterval = 250;
    void SetPaced(bool paced);
    bool Paced() const { return paced_; }
    // Paints the pending changes of the paced controls: when a frame is due, or now (before
    // the program waits on something long, such as the copy of a large file).
    static void PaintPacedIfDue();
    static void PaintPacedNow();
    // Before a wait of about waitMs (the copy of a large file): paints now when the wait is long
    // enough beside what a frame costs for the user to read what it shows, else when due.
    static void PaintPacedBefore(DWORD waitMs);
    virtual void SetBounds(const Rect& r);
    Rect Bounds() const;  // relative to the parent's client area
    // A hand cursor over the control (links, clickable pictures).
    void SetHandCursor(bool hand) { handCursor_ = hand; }
    bool HandCursor() const { return handCursor_; }
    // The container the control was created in; null for forms.
    Container* ParentContainer() const;

    // Reflected notifications; a control overrides the ones it needs.
    virtual void OnCommand(int /*code*/) {}
    virtual bool OnNotify(NMHDR* /*hdr*/, LRESULT& /*result*/) { return false; }
    virtual bool OnDrawItem(DRAWITEMSTRUCT* /*dis*/) { return false; }
    virtual bool OnMeasureItem(MEASUREITEMSTRUCT* /*mis*/) { return false; }
    // Returns a brush for WM_CTLCOLOR*, or null for the default colours.
    virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }
    virtual int OnVKeyToItem(int /*vk*/, int /*caret*/) { return -1; }

protected:
    // Creates the window as a child of parent and ties it to this object. WS_CHILD is added;
    // WS_VISIBLE is the caller's to give.
    bool CreateChild(Container& parent, int id, const char* className, DWORD style,
                     DWORD exStyle, const Rect& r, const std::string& text = {},
                     bool unicode = false);
    bool CreateIn(HWND parent, int id, const char* className, DWORD style, DWORD exStyle,
                  const Rect& r, const std::string& text, bool unicode);
    // For windows made elsewhere (forms, containers).
    void Attach(HWND w);
    // Focus() for any window of the program.
    static void GiveFocus(HWND w);
    // Unties the object from a window that is being destroyed.
    void Detach();
    // Sets the font on the window and passes it on to the children that follow it.
    virtual void ApplyFont(HFONT font);
    // Something on the control changed: paints now, or when due while paced.
    void Changed();
    // Paints the whole control now; a paced control whose window paints nothing by itself
    // (a list with redraw off) overrides it.
    virtual void PaintNow();
    virtual void OnPacingChanged() {}

    win::UniqueWindow wnd_;
    bool unicode_ = false;
    HFONT font_ = nullptr;
    bool ownFont_ = false;
    bool handCursor_ = false;
    bool paced_ = false;
    bool pending_ = false;
};

// A window that hosts controls and reflects their notifications to them.
class Container : public Control {
public:
    // Handles the reflected messages; true when it did.
    static bool Reflect(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Background brush used for the container and transparent children; null: system colour.
    void SetBackground(COLORREF colour);
    HBRUSH BackgroundBrush() const { return background_.get(); }
    // Paints into dc, whose origin is the child's top-left corner, what lies behind the child:
    // the container's background (its WM_ERASEBKGND) and the visible pictures below the child.
    void PaintBehind(HDC dc, const Control& child) const;
    // The brush for a child's WM_CTLCOLOR* that draws on the container's background; sets the
    // DC's background colour to match.
    HBRUSH ChildBrush(HDC dc) const;
    // Gives the keyboard focus to the container's first control that takes it (shown, enabled, a
    // tab stop), as a wizard does with the page it shows; to the container itself when none does.
    void FocusFirstControl();

protected:
    // Creates a window of the containers' own class.
    bool CreateContainer(HWND parent, int id, const Rect& r, DWORD style);
    // The messages every container handles alike (background, font, cursor); true when handled.
    bool CommonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    virtual bool ContainerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    static LRESULT CALLBACK ContainerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

    win::UniqueBrush background_;
};

// A plain child container (a panel, or a group box that holds controls when framed).
class Panel : public Container {
public:
    bool Create(Container& parent, int id, const Rect& r, bool framed = false,
                const std::string& caption = {});
    void SetText(const std::string& text) override;  // the frame's caption

protected:
    bool ContainerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    bool framed_ = false;
};

class Label : public Control {
public:
    enum class Align { Left, Center, Right };
    bool Create(Container& parent, int id, const Rect& r, const std::string& text = {},
                Align align = Align::Left, bool wordWrap = false);
    // While paced, the new text is kept and handed to the window with the next frame; Text()
    // answers it at once.
    void SetText(const std::string& text) override;
    std::string Text() const override;
    void SetTextColor(COLORREF colour);
    // Draws on the parent's background (for pictures behind the text).
    void SetTransparent(bool transparent);
    std::function<void()> onClick;

    void OnCommand(int code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    void PaintNow() override;

private:
    COLORREF colour_ = CLR_INVALID;
    bool transparent_ = false;
    bool textPending_ = false;
    std::string pendingText_;
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
    // The browse button follows the edit.
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetBounds(const Rect& r) override;

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
    void SetBounds(const Rect& r) override;  // r.h is the height of the closed box

private:
    bool dropDownList_ = false;
};

// List box of text lines; the hidden data lists of the main window are list boxes too.
class ListBox : public Control {
public:
    bool Create(Container& parent, int id, const Rect& r, bool visible = true);
    virtual void Clear();
    virtual int AddItem(const std::string& text);
    void InsertItem(int index, const std::string& text);
    void DeleteItem(int index);
    void SetItem(int index, const std::string& text);
    virtual int Count() const;
    virtual std::string Item(int index) const;
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
    // Owner-drawn lists: the item height follows the font, at least minHeight.
    void FitItemHeight(int minHeight);
    // Owner-drawn lists: an item's text in the text part of its line, highlighted when selected.
    void DrawItemText(const DRAWITEMSTRUCT* dis, RECT text, bool enabled) const;
    // Lists the user reads scroll sideways as far as their widest item reaches, so that a long
    // line (a deep path) can be read to its end; the extent follows every change of the items
    // and of the font. The hidden data lists and the line lists leave it alone.
    void SetExtentFollowsItems(bool follows);
    // The room on an item's line besides its text: margins, and a check mark.
    virtual int ItemMargins() const { return 6; }
    void ApplyFont(HFONT font) override;

private:
    int ItemWidth(const std::string& text) const;
    void RefitExtent();
    // A new item as wide as text: the extent grows to it when it is wider than every other.
    void WidenExtentFor(const std::string& text);
    bool extentFollowsItems_ = false;
    int extent_ = 0;
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

protected:
    void ApplyFont(HFONT font) override;
    int ItemMargins() const override;

private:
    void Toggle(int index);
    static LRESULT CALLBACK MouseProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
};

// Static picture. Owns the bitmap it was given. It is drawn at its top-left corner with
// fuchsia RGB(255,0,255) as the see-through colour, over the parent's background and the
// pictures below it; a picture created later lies over the earlier ones, and every other
// control lies over the pictures.
class Picture : public Control {
public:
    static constexpr COLORREF kSeeThrough = RGB(255, 0, 255);
    bool Create(Container& parent, int id, const Rect& r);
    bool LoadResource(int bitmapId);  // a BITMAP resource of the module
    void SetBitmap(win::UniqueBitmap bitmap);
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // False: the bitmap is copied as it is, fuchsia included.
    void SetTransparent(bool transparent);
    // Draws the bitmap with its top-left corner at (x, y) of dc.
    void DrawAt(HDC dc, int x, int y) const;
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    void OnCommand(int code) override;
    bool OnDrawItem(DRAWITEMSTRUCT* dis) override;
    void SetVisible(bool visible) override;

private:
    void RepaintArea();
    win::UniqueBitmap bitmap_;
    bool transparent_ = true;
};

// Draws a bitmap at (x, y) of dc, fuchsia see-through; the bitmap must not be selected
// into another device context.
void DrawBitmapKeyed(HDC dc, HBITMAP bitmap, int x, int y, int maxWidth, int maxHeight);

class TabSheet;

// Tab control whose pages are TabSheet containers. The sheets lie over the tab control's display
// area as its siblings, in the tab control's parent; the active one is shown while the tab
// control is.
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
    void SetBounds(const Rect& r) override;
    // The active sheet is shown and hidden with the tab control.
    void SetVisible(bool visible) override;

protected:
    void ApplyFont(HFONT font) override;

private:
    std::vector<TabSheet*> sheets_;
    void ShowIndex(int index);
    RECT DisplayArea() const;
    void LayoutSheets();
};

class TabSheet : public Container {
public:
    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // The tab's caption.
    void SetText(const std::string& text) override { SetCaption(text); }
    std::string Text() const override { return Caption(); }
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

// A list box that keeps its lines itself, one byte a character (LineStore): the work lists and
// the text log of a job hold hundreds of thousands of lines. Lines are added and cleared, never
// changed one by one. The window is an owner-drawn list without data that answers LB_GETCOUNT
// with the number of lines, so another process reading it gets the count and no text.
class LineList : public ListBox {
public:
    bool Create(Container& parent, int id, const Rect& r, bool visible = false);
    void Clear() override;
    int AddItem(const std::string& text) override;
    // A line with a number that goes with it (a work list keeps each file's size as its walk
    // found it, so that the copy need not ask the disk again).
    int AddItem(const std::string& text, long long value);
    int Count() const override { return static_cast<int>(lines_.Count()); }
    std::string Item(int index) const override;
    // The number given with the line; -1 for a line added without one.
    long long Value(int index) const;
    const LineStore& Lines() const { return lines_; }
    // Lines that begin as the line before them does keep only what differs (see LineStore).
    void UseFrontCoding() { lines_.UseFrontCoding(); }
    // A line that repeats the last line of source, alone or after one of heads, is kept as a
    // reference to it (the text log beside the log on screen holds each text once).
    void ShareLinesOf(const LineList& source, const std::vector<std::string>& heads) {
        lines_.ShareLinesOf(source.lines_, heads);
    }
    // A line was added (the line's text).
    std::function<void(const std::string&)> onAdd;

protected:
    // Gives the list its number of lines, which it needs to draw them.
    void SyncCount();
    LineStore lines_;
    // Index-parallel to the lines, up to the last line added with a number.
    std::deque<long long> values_;

private:
    static LRESULT CALLBACK CountProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
};

// Log list: one 16x16 picture and one text per line. The pictures are not owned.
class LogList : public LineList {
public:
    bool Create(Container& parent, int id, const Rect& r);
    void Clear() override;
    int AddItem(const std::string& text) override { return AddLine(text, nullptr); }
    int AddLine(const std::string& text, HBITMAP picture);
    HBITMAP LinePicture(int index) const;
    void SelectLast();
    bool OnDrawItem(DRAWITEMSTRUCT* dis) override;

protected:
    void ApplyFont(HFONT font) override;
    // While paced the list's own redraw is off: lines go in without painting, and the window
    // learns of them and selects the last one (which scrolls) with the next frame.
    void PaintNow() override;
    void OnPacingChanged() override;

private:
    // A log shows a handful of pictures: each line keeps the index of its own among them.
    std::vector<HBITMAP> pictureKinds_;
    std::deque<uint8_t> pictures_;
    bool selectLast_ = false;
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
    void Stop();
    void OnFrame(WPARAM run);
    void OnEnded(WPARAM run);
    void Paint(HDC dc);
    static LRESULT CALLBACK WndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace ui
