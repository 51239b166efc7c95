#include "ui/Controls.h"
#include "app/Environment.h"
#include "ui/Dialogs.h"

namespace ui {

namespace {

const int kBrowseWidth = 24;
const int kBrowseGap = 2;

Rect EditPart(const Rect& r) { return Rect{r.x, r.y, r.w - kBrowseWidth - kBrowseGap, r.h}; }
Rect ButtonPart(const Rect& r) { return Rect{r.x + r.w - kBrowseWidth, r.y, kBrowseWidth, r.h}; }

std::string FolderOf(const std::string& path) {
    size_t slash = LastDelimiter("\\/", path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

bool Edit::Create(Container& parent, int id, const Rect& r) {
    if (!CreateChild(parent, id, "Edit", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, r)) return false;
    last_ = Text();
    return true;
}

void Edit::SetText(const std::string& text) {
    // The edit reports a change even when the text stays the same; nothing must run then.
    if (!hwnd() || text == Text()) return;
    Control::SetText(text);
}

std::string Edit::Text() const { return Control::Text(); }

void Edit::OnCommand(int code) {
    if (code != EN_CHANGE) return;
    std::string now = Text();
    if (now == last_) return;
    last_ = now;
    if (onChange) onChange();
}

bool PathEdit::Create(Container& parent, int id, const Rect& r, Kind kind) {
    kind_ = kind;
    if (!Edit::Create(parent, id, EditPart(r))) return false;
    if (!browse_.Create(parent, id + kBrowseIdOffset, ButtonPart(r), "...")) return false;
    browse_.onClick = [this] { Browse(); };
    return true;
}

void PathEdit::SetFilter(const std::string& filter) { filter_ = filter; }

void PathEdit::SetDialogTitle(const std::string& title) { title_ = title; }

void PathEdit::Browse() {
    HWND owner = GetAncestor(hwnd(), GA_ROOT);
    if (kind_ == Kind::Folder) {
        std::string chosen;
        if (BrowseForFolder(owner, title_, Text(), chosen)) SetText(chosen);
        return;
    }
    OpenFileRequest request;
    request.initialDir = FolderOf(Text());
    request.filter = filter_;
    request.fileMustExist = true;
    request.title = title_;
    std::vector<std::string> paths;
    if (OpenFiles(owner, request, paths) && !paths.empty()) SetText(paths.front());
}

void PathEdit::SetVisible(bool visible) {
    Edit::SetVisible(visible);
    browse_.SetVisible(visible);
}

void PathEdit::SetEnabled(bool enabled) {
    Edit::SetEnabled(enabled);
    browse_.SetEnabled(enabled);
}

void PathEdit::SetBounds(const Rect& r) {
    Edit::SetBounds(EditPart(r));
    browse_.SetBounds(ButtonPart(r));
}

}  // namespace ui
