// The one rule behind the category path edits: an existing path offers and ticks its category,
// anything else refuses it and shows its wrong mark.
#pragma once
#include <string>
#include <vector>
#include "ui/Controls.h"

enum class PathTest { Folder, File };

// The edit's text as it stands (nothing trimmed or expanded): an existing folder, or an existing
// file (a folder is never a file); an empty text passes neither.
bool PathPasses(const std::string& text, PathTest test);

// Repaints the controls of repaintFirst in their order, then enables and ticks box and hides wrong
// when the edit's text passes the test, or disables and unticks box and shows wrong when not.
void CategoryPathCheck(const ui::Edit& edit, ui::CheckBox& box, ui::Picture& wrong, PathTest test,
                       const std::vector<ui::Control*>& repaintFirst);
